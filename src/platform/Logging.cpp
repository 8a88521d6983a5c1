#include "platform/Logging.h"

Q_LOGGING_CATEGORY(lcPlatform, "tallowmere.platform", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSession, "tallowmere.session", QtWarningMsg)
Q_LOGGING_CATEGORY(lcConfig, "tallowmere.config", QtWarningMsg)
Q_LOGGING_CATEGORY(lcDatabase, "tallowmere.database", QtWarningMsg)
Q_LOGGING_CATEGORY(lcDuplicates, "tallowmere.duplicates", QtWarningMsg)
Q_LOGGING_CATEGORY(lcOutput, "tallowmere.output", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSearch, "tallowmere.search", QtWarningMsg)
Q_LOGGING_CATEGORY(lcResponses, "tallowmere.responses", QtWarningMsg)
Q_LOGGING_CATEGORY(lcViewer, "tallowmere.viewer", QtWarningMsg)
Q_LOGGING_CATEGORY(lcApp, "tallowmere.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCli, "tallowmere.cli", QtWarningMsg)
Q_LOGGING_CATEGORY(lcRender, "tallowmere.render", QtWarningMsg)
Q_LOGGING_CATEGORY(lcGui, "tallowmere.gui", QtWarningMsg)

void EnableVerboseLogging()
{
    QLoggingCategory::setFilterRules(
        QStringLiteral("tallowmere.*.debug=true\ntallowmere.*.info=true"));
}
