#include "responses/DroppedResponses.h"

#include "platform/TextCodec.h"

#include <QMimeData>
#include <QUrl>

DroppedResponses ReadDroppedResponses(const QMimeData& data)
{
    DroppedResponses dropped;
    if (data.hasUrls()) {
        for (const QUrl& url : data.urls())
            if (url.isLocalFile() && !url.toLocalFile().isEmpty())
                dropped.files.append(url.toLocalFile());
        if (!dropped.files.isEmpty())
            return dropped;
    }
    const QString message = QStringLiteral("message/rfc822");
    if (data.hasFormat(message))
        dropped.text = TextFromBytes(data.data(message));
    if (dropped.text.isEmpty() && data.hasText())
        dropped.text = data.text();
    return dropped;
}
