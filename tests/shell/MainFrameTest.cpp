#include "AppFixture.h"

#include "app/DesignState.h"
#include "common/Language.h"
#include "app/ProtocolLog.h"
#include "shell/DesignApplier.h"
#include "shell/MainFormLayout.h"

#include <QAction>
#include <QLabel>
#include <QSet>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

using namespace Velmora;
using namespace Velmora::Testing;

class MainFrame : public AppFixture {
protected:
    void startWith(const QByteArray &positions = {})
    {
        existingProfile();
        if (!positions.isNull())
            env.writeFile(positionsPath(), positions);
        ASSERT_TRUE(start());
        QApplication::processEvents();
    }
    QString positionsPath() const { return env.appDataFolder() + QStringLiteral("positions.ini"); }
    MainFormLayout &layout() { return starter->layout(); }
    bool closeProgram()
    {
        prompts.confirmAnswers = {true};
        MainFormHooks hooks = main().hooks();
        hooks.deleteAllBackups = [](const QString &) { return true; };
        main().setHooks(hooks);
        QCloseEvent close;
        QCoreApplication::sendEvent(&main(), &close);
        return close.isAccepted();
    }
};

TEST_F(MainFrame, WithoutPositionsFileEverythingShowsAtTheDefaultHeights)
{
    startWith();
    for (QWidget *region : {static_cast<QWidget *>(w().protocolGrid), w().localButtonsPanel, w().serverButtonsPanel,
                            static_cast<QWidget *>(w().queueGrid), static_cast<QWidget *>(w().queuePanel),
                            static_cast<QWidget *>(w().filterPanel)})
        EXPECT_TRUE(region->isVisible()) << region->objectName().toStdString();
    EXPECT_TRUE(w().queueSplitter->handle(1)->isVisible());
    EXPECT_EQ(w().protocolGrid->height(), 70);
    EXPECT_EQ(w().queueGrid->height(), 100);
    EXPECT_EQ(context().design.name(), QStringLiteral("Office2003Blue"));
    for (QAction *mark : {w().protocolViewAction, w().navigationViewAction, w().queueViewAction, w().filterViewAction})
        EXPECT_TRUE(mark->isChecked()) << mark->objectName().toStdString();
    EXPECT_EQ(layout().current(), WindowPositions());
    EXPECT_EQ(main().minimumSize(), QSize(1000, 600));
    EXPECT_TRUE(main().isMaximized());
    // The local pane takes half the width.
    EXPECT_LE(std::abs(w().leftPanel->width() - w().rightPanel->width()), w().gridSplitter->handleWidth() + 1);
}

TEST_F(MainFrame, StoredLayoutIsAppliedAndWrittenBackOnClose)
{
    const QByteArray stored = "[SETTINGS]\r\nProtocolNextGrid=1\r\nLocalButtonsPanel=0\r\nServerButtonsPanel=0\r\n"
                              "QueueNextGrid=1\r\nQueuePanel=1\r\nQueueSplitter=1\r\nFilterPanel=0\r\n"
                              "StatusNextGridHeight=120\r\nQueueNextGridHeight=180\r\nDesign=Gold\r\n\r\n";
    startWith(stored);
    EXPECT_TRUE(w().localButtonsPanel->isHidden());
    EXPECT_TRUE(w().serverButtonsPanel->isHidden());
    EXPECT_TRUE(w().filterPanel->isHidden());
    EXPECT_EQ(w().protocolGrid->height(), 120);
    EXPECT_EQ(w().queueGrid->height(), 180);
    EXPECT_EQ(context().design.name(), QStringLiteral("Gold"));
    EXPECT_FALSE(w().navigationViewAction->isChecked());
    EXPECT_FALSE(w().filterViewAction->isChecked());
    EXPECT_TRUE(w().protocolViewAction->isChecked());

    env.writeFile(positionsPath(), "");
    ASSERT_TRUE(closeProgram());
    EXPECT_EQ(TestEnvironment::readFile(positionsPath()), stored);
}

TEST_F(MainFrame, DraggedHeightsAndHiddenRegionsAreKeptForTheNextStart)
{
    startWith();
    w().protocolViewAction->trigger();
    w().queueWindowButton->click();
    layout().SaveLayout();
    WindowPositions saved = WindowPositions::read(positionsPath());
    EXPECT_FALSE(saved.protocolGrid);
    EXPECT_FALSE(saved.queueGrid);
    EXPECT_FALSE(saved.queuePanel);
    EXPECT_FALSE(saved.queueSplitter);
    EXPECT_EQ(saved.protocolHeight, 70); // a hidden grid keeps the height it had
    EXPECT_EQ(saved.queueHeight, 100);

    w().protocolViewAction->trigger();
    w().queueViewAction->trigger();
    QApplication::processEvents();
    EXPECT_EQ(w().protocolGrid->height(), 70);
    EXPECT_EQ(w().queueGrid->height(), 100);
    QList<int> sizes = w().topSplitter->sizes();
    w().topSplitter->setSizes({sizes[0] + 25, sizes[1] - 25});
    QApplication::processEvents();
    layout().SaveLayout();
    saved = WindowPositions::read(positionsPath());
    EXPECT_EQ(saved.protocolHeight, 95);
    EXPECT_TRUE(saved.protocolGrid && saved.queueGrid && saved.queuePanel && saved.queueSplitter);
}

TEST_F(MainFrame, DamagedPositionsFileGivesDefaultsAndAProtocolLine)
{
    startWith("[SETTINGS]\r\nProtocolNextGrid=0\r\nStatusNextGridHeight=tall\r\nDesign=Neon\r\n");
    EXPECT_TRUE(w().protocolGrid->isHidden()); // what could be read is used
    EXPECT_EQ(context().design.name(), QStringLiteral("Office2003Blue"));
    const QString expected = QStringLiteral("Layout file damaged, defaults used for StatusNextGridHeight, Design: ") + positionsPath();
    bool found = false;
    for (const ProtocolEntry &entry : context().protocol.entries())
        found = found || (entry.kind == ProtocolEntry::Error && entry.text == expected);
    EXPECT_TRUE(found) << expected.toStdString();
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
}

TEST_F(MainFrame, ViewSwitchesInvertTheirRegionsAndTheCheckMarkFollows)
{
    startWith();
    struct Switch {
        const char *name;
        QAbstractButton *button;
        QAction *menuItem;
        QList<QWidget *> regions;
    };
    const Switch switches[] = {
        {"protocol", w().protocolButton, w().protocolViewAction, {w().protocolGrid}},
        {"navigation", w().navigationButton, w().navigationViewAction, {w().localButtonsPanel, w().serverButtonsPanel}},
        {"queue", w().queueWindowButton, w().queueViewAction, {w().queueGrid, w().queuePanel}},
        {"filter", w().filterWindowButton, w().filterViewAction, {w().filterPanel}},
    };
    for (const Switch &s : switches) {
        for (int way = 0; way < 2; ++way) { // toolbar button, then menu item
            const auto press = [&] { way == 0 ? s.button->click() : s.menuItem->trigger(); };
            press();
            for (QWidget *region : s.regions)
                EXPECT_TRUE(region->isHidden()) << s.name << ' ' << region->objectName().toStdString();
            EXPECT_FALSE(s.menuItem->isChecked()) << s.name;
            press();
            for (QWidget *region : s.regions)
                EXPECT_FALSE(region->isHidden()) << s.name << ' ' << region->objectName().toStdString();
            EXPECT_TRUE(s.menuItem->isChecked()) << s.name;
        }
    }
}

TEST_F(MainFrame, NavigationInvertsEachBarOnItsOwn)
{
    startWith("[SETTINGS]\r\nServerButtonsPanel=0\r\n");
    w().navigationButton->click();
    EXPECT_TRUE(w().localButtonsPanel->isHidden());
    EXPECT_FALSE(w().serverButtonsPanel->isHidden());
    EXPECT_FALSE(w().navigationViewAction->isChecked());
    w().navigationViewAction->trigger();
    EXPECT_FALSE(w().localButtonsPanel->isHidden());
    EXPECT_TRUE(w().serverButtonsPanel->isHidden());
    EXPECT_TRUE(w().navigationViewAction->isChecked());
}

TEST_F(MainFrame, HiddenQueueWindowStaysHiddenThroughBusyAndIdle)
{
    startWith();
    w().queueViewAction->trigger();
    main().SetBusyState();
    main().SetIdleState();
    EXPECT_TRUE(w().queuePanel->isHidden());
    EXPECT_TRUE(w().queueGrid->isHidden());
    EXPECT_FALSE(w().queueSplitter->handle(1)->isVisible());
}

TEST_F(MainFrame, MainMenuItemsAndShortcuts)
{
    startWith();
    struct Item {
        QAction *action;
        const char *text;
        QKeySequence shortcut;
        bool checkable;
    };
    const QKeySequence none;
    const Item items[] = {
        {w().ftpConnectionsAction, "FTP Connections", QKeySequence(Qt::Key_F12), false},
        {w().exitAction, "Exit", QKeySequence(Qt::ALT | Qt::Key_F4), false},
        {w().editFilterAction, "Edit Filter", QKeySequence(Qt::Key_F2), false},
        {w().transferFilterOnAction, "Transfer filter on", none, true},
        {w().createBatchjobAction, "Create Batchjob", none, false},
        {w().showBatchjobsAction, "Show last batchjobs (Logfile)", none, false},
        {w().createFileAction, "Create a file", none, false},
        {w().copyToEachDirAction, "Copy a file to each directory (and subdirectories)", none, false},
        {w().multiRenameAction, "Multi rename tool", none, false},
        {w().optionsAction, "Options", QKeySequence(Qt::ALT | Qt::Key_O), false},
        {w().designAction, "Design", QKeySequence(Qt::ALT | Qt::Key_D), false},
        {w().germanAction, "German", none, false},
        {w().englishAction, "English", none, false},
        {w().protocolViewAction, "Protocal window", none, true},
        {w().navigationViewAction, "Navigation", none, true},
        {w().queueViewAction, "Queue window", none, true},
        {w().filterViewAction, "Filter window", none, true},
        {w().showHelpAction, "Show help", QKeySequence(Qt::Key_F1), false},
        {w().aboutAction, "About", none, false},
        {w().checkUpdateAction, "Check now for update", none, false},
        {w().updateAtStartAction, "Check for updates at program start", none, true},
    };
    for (const Item &item : items) {
        EXPECT_EQ(item.action->text(), QString::fromUtf8(item.text));
        EXPECT_EQ(item.action->shortcut(), item.shortcut) << item.text;
        EXPECT_EQ(item.action->isCheckable(), item.checkable) << item.text;
    }
    QStringList titles;
    for (QAction *menu : main().menuBar()->actions())
        titles.append(menu->text().remove(u'&'));
    EXPECT_EQ(titles, (QStringList{QStringLiteral("File"), QStringLiteral("Filter"), QStringLiteral("Batchjob"),
                                   QStringLiteral("Extended Tools"), QStringLiteral("Settings"), QStringLiteral("View"),
                                   QStringLiteral("Help")}));
    QStringList toolbar;
    for (QToolButton *button : {w().connectionsButton, w().disconnectButton, w().protocolButton, w().navigationButton,
                                w().queueWindowButton, w().filterWindowButton, w().restoreButton})
        toolbar.append(button->text());
    EXPECT_EQ(toolbar, (QStringList{QStringLiteral("FTP connections (F12)"), QStringLiteral("Disconnect"),
                                    QStringLiteral("Protocol window"), QStringLiteral("Navigation"),
                                    QStringLiteral("Queue window"), QStringLiteral("Filter window"), QStringLiteral("Restore")}));

    main().SetLanguage(Language::German);
    EXPECT_EQ(w().protocolViewAction->text(), QStringLiteral("Protokoll Fenster"));
    EXPECT_EQ(w().designAction->text(), QStringLiteral("Design"));
    EXPECT_EQ(w().updateAtStartAction->text(), QString::fromUtf8("Bei jedem Programmstart auf Update überprüfen"));
    EXPECT_EQ(w().connectionsButton->text(), QStringLiteral("FTP Verbindungen [F12]"));
}

TEST_F(MainFrame, TheQueueBarShowsItsLabelAndItsCaptionsInBothLanguages)
{
    startWith();
    const auto captions = [this] {
        QStringList texts{w().queueLabel->text()};
        for (QToolButton *button : {w().queueLoadButton, w().queueSaveButton, w().queueRunButton, w().queuePauseButton,
                                    w().queueDeleteButton})
            texts << button->text() + u'|' + button->toolTip();
        texts << w().automaticRunButton->toolTip() << w().deleteQueueAction->text();
        return texts;
    };
    EXPECT_EQ(w().queueLabel->objectName(), QStringLiteral("Panel2"));
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("Queue: "), QStringLiteral("Load queue|Load queue"),
                                       QStringLiteral("Save queue|Save queue"), QStringLiteral("Run queue|Run queue"),
                                       QStringLiteral("Pause queue|Pause queue"), QStringLiteral("Clear queue|Clear queue"),
                                       QStringLiteral("Automatic run queue"), QStringLiteral("Delete queue")}));
    main().SetLanguage(Language::German);
    EXPECT_EQ(captions(),
              (QStringList{QStringLiteral("Warteschlange: "), QString::fromUtf8("Warteschlange öffnen|Warteschlange öffnen"),
                           QStringLiteral("Warteschlange speichern|Warteschlange speichern"),
                           QStringLiteral("Warteschlange abarbeiten|Warteschlange abarbeiten"),
                           QStringLiteral("Warteschlange Pause|Warteschlange Pause"),
                           QString::fromUtf8("Warteschlange löschen|Warteschlange löschen"),
                           QStringLiteral("Warteschlange automatisch abarbeiten"), QString::fromUtf8("Warteschlange löschen")}));
    EXPECT_EQ(w().runQueueAction->text(), QStringLiteral("Warteschlange abarbeiten"));
}

TEST_F(MainFrame, AltDOpensTheDesignInBothLanguagesAndNoMenuTakesItsLetter)
{
    startWith();
    for (Language::Id language : {Language::English, Language::German}) {
        main().SetLanguage(language);
        QStringList titles;
        QList<QKeySequence> mnemonics;
        for (QAction *menu : main().menuBar()->actions()) {
            titles << menu->text();
            mnemonics << QKeySequence::mnemonic(menu->text());
        }
        EXPECT_FALSE(mnemonics.contains(QKeySequence(Qt::ALT | Qt::Key_D))) << titles.join(u',').toStdString();
        EXPECT_EQ(QSet<QKeySequence>(mnemonics.begin(), mnemonics.end()).size(), mnemonics.size())
            << titles.join(u',').toStdString();
        EXPECT_EQ(w().designAction->shortcut(), QKeySequence(Qt::ALT | Qt::Key_D));
    }
    EXPECT_EQ(w().fileMenu->title(), QStringLiteral("Da&tei"));
}

TEST_F(MainFrame, ChartsButtonsShareTheTopRightCorner)
{
    startWith();
    w().chartsPanel->parentWidget()->show();
    w().chartsPanel->show();
    w().closeChartsButton->show();
    w().chartsPanel->resize(900, 400);
    QApplication::processEvents();
    for (QPushButton *button : {w().abortTransferButton, w().closeChartsButton}) {
        EXPECT_EQ(button->geometry().top(), 4);
        EXPECT_EQ(button->geometry().right() + 1, w().chartsPanel->width() - 12);
        EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(button->text()));
    }
    // "Close charts window" lies over "Abort transfer".
    EXPECT_EQ(w().chartsPanel->childAt(w().closeChartsButton->geometry().center()), w().closeChartsButton);
    EXPECT_EQ(w().chartsClosePanel->height(), w().progressPanel->height());
}

TEST_F(MainFrame, HidingProtocolAndFilterMovesTheChartsUpByTheirHeights)
{
    startWith();
    w().gridSplitter->hide();
    w().chartsPanel->parentWidget()->show();
    w().chartsPanel->show();
    QApplication::processEvents();
    const int top = w().chartsPanel->mapTo(&main(), QPoint()).y();
    const int height = w().chartsPanel->height();
    const int removed = w().protocolGrid->height() + w().topSplitter->handleWidth() + w().filterPanel->height();
    w().protocolViewAction->trigger();
    w().filterWindowButton->click();
    QApplication::processEvents();
    EXPECT_EQ(w().chartsPanel->mapTo(&main(), QPoint()).y(), top - removed);
    EXPECT_EQ(w().chartsPanel->height(), height + removed); // the panes' place grows by as much
}
