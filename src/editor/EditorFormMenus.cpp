// The menus, the tool bar, the status line and the keys of EditorForm.
#include "EditorForm.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace Velmora {

namespace {

QAction *newAction(QObject *parent, const QString &caption, const char *objectName)
{
    auto *action = new QAction(caption, parent);
    action->setObjectName(QString::fromLatin1(objectName));
    return action;
}

} // namespace

void EditorForm::buildMenus()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("EditorMenuBar"));
    // The caption shows the label, a tab and the key; the keys themselves are bound to the text
    // (buildShortcuts), and Ctrl+X, C, V, Z and Y are the text component's own.
    auto item = [this](QMenu *menu, const char16_t *english, const char16_t *german, const QString &key,
                       const char *name, auto slot) {
        QAction *action = newAction(menu, QString(), name);
        m_captions.append({action, english, german, key});
        menu->addAction(action);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    auto menu = [this](const char16_t *english, const char16_t *german) {
        QMenu *added = m_menuBar->addMenu(QString());
        m_captions.append({added, english, german, QString()});
        return added;
    };

    QMenu *file = menu(u"File", u"Datei");
    file->setObjectName(QStringLiteral("FileMenu"));
    item(file, u"New", u"Neu", QStringLiteral("N"), "New1", [this] { newFileWithoutAsking(); });
    item(file, u"Open", u"Öffnen", QStringLiteral("O"), "Open1", [this] { openFile(); });
    item(file, u"Save", u"Speichern", QStringLiteral("S"), "Save1", [this] { save(); });
    m_saveAsAction = item(file, u"Save as...", u"Speichern unter...", QStringLiteral("Alt+S"), "SaveAs1", [this] { saveAs(); });
    item(file, u"Print", u"Drucken", QStringLiteral("P"), "Print1", [this] { print(); });
    file->addSeparator();
    item(file, u"Exit", u"Beenden", QString(), "Exit1", [this] { close(); });

    QMenu *edit = menu(u"Edit", u"Bearbeiten");
    edit->setObjectName(QStringLiteral("EditMenu"));
    item(edit, u"Cut", u"Ausschneiden", QStringLiteral("X"), "Cut1", [this] { m_text->cut(); });
    item(edit, u"Copy", u"Kopieren", QStringLiteral("C"), "Copy1", [this] { m_text->copy(); });
    item(edit, u"Paste", u"Einfügen", QStringLiteral("V"), "Paste1", [this] { m_text->paste(); });
    edit->addSeparator();
    item(edit, u"Search", u"Suchen", QStringLiteral("F"), "Search1", [this] { showFind(); });
    item(edit, u"Search and  Replace", u"Suchen und  Ersetzen", QStringLiteral("H"), "SearchAndReplace1",
         [this] { showReplace(); });
    edit->addSeparator();
    item(edit, u"Undo", u"Rückgängig", QStringLiteral("Z"), "Undo1", [this] { m_text->undo(); });
    item(edit, u"Redo", u"Wiederholen", QStringLiteral("Y"), "Redo1", [this] { m_text->redo(); });

    QMenu *format = menu(u"Format", u"Format");
    format->setObjectName(QStringLiteral("FormatMenu"));
    m_wordWrapAction = item(format, u"Wordwrap", u"Zeilenumbruch", QStringLiteral("W"), "Wordwrap1",
                            [this] { toggleWordWrap(); });
    m_wordWrapAction->setCheckable(true);

    QMenu *view = menu(u"View", u"Ansicht");
    view->setObjectName(QStringLiteral("ViewMenu"));
    m_statusLineAction = item(view, u"Status line", u"Status Zeile", QString(), "Statusline1",
                              [this] { toggleStatusLine(); });
    m_statusLineAction->setCheckable(true);
}

void EditorForm::buildToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("EditorToolBar"));
    m_toolBar->setIconSize(QSize(20, 20));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto button = [this](const char16_t *english, const char16_t *german, const char *theme,
                         QStyle::StandardPixmap fallback, const char *name, auto slot) {
        QIcon icon = QIcon::fromTheme(QString::fromLatin1(theme));
        if (icon.isNull() && fallback != QStyle::SP_CustomBase)
            icon = style()->standardIcon(fallback);
        QAction *action = m_toolBar->addAction(icon, QString());
        m_captions.append({action, english, german, QString(), true});
        connect(action, &QAction::triggered, this, slot);
        m_toolBar->widgetForAction(action)->setObjectName(QString::fromLatin1(name));
    };
    const auto none = QStyle::SP_CustomBase;
    button(u"New file", u"Neue Datei", "document-new", QStyle::SP_FileIcon, "spbNew", [this] { newFileAsking(); });
    button(u"Open file", u"Datei öffnen", "document-open", QStyle::SP_DialogOpenButton, "spbOpen", [this] { openFile(); });
    button(u"Save file", u"Datei speichern", "document-save", QStyle::SP_DialogSaveButton, "spbSave", [this] { save(); });
    button(u"Print", u"Drucken", "document-print", none, "SpeedButton3", [this] { print(); });
    m_toolBar->addSeparator();
    button(u"Cut", u"Ausschneiden", "edit-cut", none, "spbCut", [this] { m_text->cut(); });
    button(u"Copy", u"Kopieren", "edit-copy", none, "spbCopy", [this] { m_text->copy(); });
    button(u"Paste", u"Einfügen", "edit-paste", none, "spbPaste", [this] { m_text->paste(); });
    m_toolBar->addSeparator();
    button(u"Search", u"Suchen", "edit-find", none, "SpeedButton1", [this] { showFind(); });
    button(u"Search and replace", u"Suchen und Ersetzen", "edit-find-replace", none, "SpeedButton2",
           [this] { showReplace(); });
    m_toolBar->addSeparator();
    button(u"Undo", u"Rückgängig", "edit-undo", QStyle::SP_ArrowBack, "spbUndo", [this] { m_text->undo(); });
    button(u"Redo", u"Wiederholen", "edit-redo", QStyle::SP_ArrowForward, "spbRedo", [this] { m_text->redo(); });
}

void EditorForm::buildStatusLine()
{
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar"));
    m_statusBar->setSizeGripEnabled(true);
    for (int i = 0; i < 3; ++i) {
        m_statusFields[i] = new QLabel(m_statusBar);
        m_statusFields[i]->setObjectName(QStringLiteral("StatusField%1").arg(i + 1));
        if (i < 2)
            m_statusFields[i]->setMinimumWidth(150);
        m_statusBar->addWidget(m_statusFields[i], i < 2 ? 0 : 1);
    }
}

void EditorForm::buildShortcuts()
{
    // The keys act while the text has the focus.
    auto key = [this](const QKeySequence &sequence, auto slot) {
        auto *shortcut = new QShortcut(sequence, m_text, slot, Qt::WidgetShortcut);
        Q_UNUSED(shortcut);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_N), [this] { newFileAsking(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { openFile(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { save(); });
    key(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S), [this] {
        if (m_saveAsEnabled)
            saveAs();
    });
    key(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { print(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { showFind(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_H), [this] { showReplace(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_W), [this] { toggleWordWrap(); });
}

} // namespace Velmora
