#pragma once

#include <QString>
#include <exception>

// The text of an error caught as an exception, for a message. The engine's
// and the program's own texts are UTF-8.
QString ErrorText(const std::exception& error);
