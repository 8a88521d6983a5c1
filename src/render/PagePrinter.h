#pragma once

#include "output/OutputRunner.h"

#include <memory>

class PaperCanvas;
class QPagedPaintDevice;
class Session;

// The printer target of an output run over a printer or a PDF writer: the
// heading template, then every record through the chosen template, all in
// one document.
class PagePrinter final : public PageOutput {
public:
    PagePrinter(Session& session, QPagedPaintDevice& device);
    ~PagePrinter() override;

    bool Begin(const QString& headingTemplatePath, const QString& recordTemplatePath) override;
    bool Record(bool newPage, bool keepWhole) override;
    bool End() override;
    QString Error() const override { return m_error; }

private:
    Session& m_session;
    QPagedPaintDevice& m_device;
    std::unique_ptr<PaperCanvas> m_canvas;
    QString m_error;
};
