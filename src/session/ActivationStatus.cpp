#include "session/ActivationStatus.h"

#include "platform/Ui.h"

std::optional<QString> ActivationStatus(ChildKind child)
{
    switch (child) {
    case ChildKind::Viewer:
        return QStringLiteral("Editing record");
    case ChildKind::Summary:
        return QStringLiteral("Summary of Records");
    case ChildKind::OutputViewer:
        return QStringLiteral("Viewing Record");
    case ChildKind::QueryBuilder:
    case ChildKind::Statistics:
        break; // these keep the status they find
    }
    return std::nullopt;
}

void ShowActivationStatus(Ui& ui, ChildKind child)
{
    if (const std::optional<QString> status = ActivationStatus(child))
        ui.ShowWindowStatus(*status);
}
