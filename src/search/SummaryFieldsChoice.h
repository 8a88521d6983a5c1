#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Session;

// The Select summary fields dialog without its window: every name of the
// database's field-names list with a check box, the chosen ones first in
// their column order, moved up and down; OK keeps the checked ones, in
// the list's order, as the summary's field columns.
class SummaryFieldsChoice {
public:
    struct Item {
        QString name;
        bool checked = false;
        bool operator==(const Item&) const = default;
    };

    explicit SummaryFieldsChoice(Session& session);

    const QList<Item>& Items() const { return m_items; }
    void SetChecked(int row, bool checked);
    // Moves a row one place; false at the end it would leave.
    bool MoveUp(int row);
    bool MoveDown(int row);
    QStringList Chosen() const;
    // Saves the choice in the database (the widths of kept columns stay);
    // false after a message.
    bool Ok();

private:
    Session& m_session;
    QList<Item> m_items;
};
