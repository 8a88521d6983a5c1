#pragma once

#include <QString>
#include <functional>

// The files below folder that may hold mail or responses, as an import of
// the folder reads them: hidden files and folders left out, and in a
// Maildir only the messages of cur/ and new/ (beside them a mail server
// keeps its indexes). onFolder hears of each folder read, folder first.
void WalkResponseFolder(const QString& folder, const std::function<void(const QString&)>& onFile,
                        const std::function<void(const QString&)>& onFolder = {});
