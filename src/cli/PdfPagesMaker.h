#pragma once

#include <QString>
#include <functional>
#include <memory>

class PageOutput;
class Session;

// Makes the pages of a PDF file at path. The command line links the core
// only: tallowmere-cli hands a PDF export to tallowmere-pdf, the program
// that links the page renderer and sets this.
using PdfPagesMaker =
    std::function<std::unique_ptr<PageOutput>(Session& session, const QString& path)>;
