#include "render/PdfPages.h"

#include "render/PagePrinter.h"

#include <QFile>

PdfPages::PdfPages(Session& session, const QString& path, const QPageLayout& layout)
    : m_path(path), m_writer(path), m_pages(std::make_unique<PagePrinter>(session, m_writer))
{
    m_writer.setPageLayout(layout);
    m_writer.setResolution(300);
    m_writer.setCreator(QStringLiteral("Tallowmere"));
}

PdfPages::~PdfPages() = default;

bool PdfPages::Begin(const QString& headingTemplatePath, const QString& recordTemplatePath)
{
    return m_pages->Begin(headingTemplatePath, recordTemplatePath);
}

bool PdfPages::Record(bool newPage, bool keepWhole)
{
    return m_pages->Record(newPage, keepWhole);
}

bool PdfPages::End()
{
    return m_pages->End();
}

QString PdfPages::Error() const
{
    // The writer opens its file when painting starts and says nothing of
    // why it could not; opening the file here says it.
    const QString error = m_pages->Error();
    if (error.isEmpty())
        return error;
    const bool existed = QFile::exists(m_path);
    QFile probe(m_path);
    if (probe.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (!existed)
            probe.remove();
        return error;
    }
    return error + QStringLiteral(": ") + m_path + QStringLiteral(": ") + probe.errorString();
}
