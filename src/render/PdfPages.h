#pragma once

#include "output/OutputRunner.h"

#include <QPageLayout>
#include <QPdfWriter>
#include <memory>

class PagePrinter;
class Session;

// The printer target of an output run writing a PDF file: the pages the
// printer would print, at 300 dots per inch on the given page layout. The
// desktop's "Export to PDF..." and the command line's PDF export both
// write through it.
class PdfPages final : public PageOutput {
public:
    PdfPages(Session& session, const QString& path, const QPageLayout& layout);
    ~PdfPages() override;

    bool Begin(const QString& headingTemplatePath, const QString& recordTemplatePath) override;
    bool Record(bool newPage, bool keepWhole) override;
    bool End() override;
    QString Error() const override;

private:
    QString m_path;
    QPdfWriter m_writer;
    std::unique_ptr<PagePrinter> m_pages;
};
