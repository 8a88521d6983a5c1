// Form configuration file text: read and placed, every entry parsed again,
// and the field rules of every place applied to a few values, as the
// viewer and its validation do.
#include "FuzzSupport.h"
#include "config/ConfigReader.h"
#include "config/FieldRules.h"
#include "session/ViewerLayout.h"
#include "platform/TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzEnvironment& env = FuzzEnvironment::Get();
    ScriptedUi ui;
    Session session(ui, env.Folders());
    FormConfig config;
    QString error;
    ReadConfigText(TextFromBytes(Bytes(data, size)), session.Tables, config, &error);
    for (int entry = 0; entry < config.ConfigEntries.size(); ++entry) {
        ParseConfig(config, entry);
        ComboChoices(config.ParsedEntry);
    }
    session.Config = config;
    QStringList tags;
    for (int k = 0; k < ViewerLayout::kHeaderItems; ++k)
        tags.append(QString::number(k));
    for (int s = 0; s < ViewerLayout::kGridSections; ++s) {
        for (int r = 0; r < ViewerLayout::kGridRows; ++r)
            tags.append(QStringLiteral("G%1.%2").arg(s).arg(r));
    }
    for (const QString& tag : tags) {
        for (const QString& value : {QString(), QStringLiteral("12/31/1999"),
                                     QStringLiteral("-1e308"), QString(300, QLatin1Char('x'))})
            CheckField(session, tag, value, true);
    }
    return 0;
}
