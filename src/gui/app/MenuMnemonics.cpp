#include "gui/app/MenuMnemonics.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QShortcut>
#include <QTabBar>
#include <algorithm>
#include <utility>

namespace {

bool HasMnemonic(const QString& text, const QKeySequence& key)
{
    return !text.isEmpty() && QKeySequence::mnemonic(text) == key;
}

// Whether control reacts to key the way Qt's mnemonics do.
bool Claims(const QWidget* control, const QKeySequence& key)
{
    if (!control->isVisible() || !control->isEnabled())
        return false;
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return HasMnemonic(button->text(), key);
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->buddy() && HasMnemonic(label->text(), key);
    if (const auto* box = qobject_cast<const QGroupBox*>(control))
        return HasMnemonic(box->title(), key);
    if (const auto* tabs = qobject_cast<const QTabBar*>(control)) {
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->isTabEnabled(i) && HasMnemonic(tabs->tabText(i), key))
                return true;
    }
    return false;
}

} // namespace

MenuMnemonics::MenuMnemonics(QMenuBar* menuBar, QMdiArea* area)
    : QObject(menuBar), m_menuBar(menuBar), m_area(area)
{
    qApp->installEventFilter(this);
    // Where Alt is taken by the window system, F10 is the usual way in.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), menuBar->window());
    connect(f10, &QShortcut::activated, this, [this] {
        for (QAction* menu : m_menuBar->actions())
            if (menu->isVisible() && menu->isEnabled() && menu->menu()) {
                m_menuBar->setActiveAction(menu);
                return;
            }
    });
}

MenuMnemonics::~MenuMnemonics()
{
    qApp->removeEventFilter(this);
}

bool MenuMnemonics::ActiveChildClaims(int key) const
{
    QMdiSubWindow* child = m_area->activeSubWindow();
    QWidget* focus = QApplication::focusWidget();
    // The child's mnemonics only count while the focus is inside it.
    if (!child || !focus || !child->isAncestorOf(focus))
        return false;
    const QKeySequence sequence(Qt::ALT | key);
    bool menuUses = false;
    for (const QAction* menu : m_menuBar->actions())
        menuUses = menuUses || (menu->isVisible() && HasMnemonic(menu->text(), sequence));
    if (!menuUses)
        return false;
    const QList<QWidget*> controls = child->findChildren<QWidget*>();
    return std::any_of(controls.cbegin(), controls.cend(),
                       [&](const QWidget* control) { return Claims(control, sequence); });
}

bool MenuMnemonics::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (m_suspended || mods != Qt::AltModifier || !ActiveChildClaims(key->key()))
            break;
        // A disabled menu bar is left out when Qt matches the key, so the
        // child's controls alone share it, and repeated presses move
        // between them when there are several.
        m_suspended = true;
        m_menuBar->setEnabled(false);
        QMetaObject::invokeMethod(this, &MenuMnemonics::RestoreMenuBar, Qt::QueuedConnection);
        break;
    }
    case QEvent::Shortcut:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // The key has been matched by now.
        RestoreMenuBar();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void MenuMnemonics::RestoreMenuBar()
{
    if (!std::exchange(m_suspended, false))
        return;
    m_menuBar->setEnabled(true);
}
