#pragma once

#include "AppFixture.h"
#include "FtpTestServer.h"
#include "QtPrinters.h"

#include "browser/BrowserController.h"
#include "browser/FileGridColumns.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "app/DialogHeader.h"
#include "browser/RenameForm.h"
#include "engine/MasterFTP.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace Velmora::Testing {

// The whole program offscreen, connected to a pyftpdlib server, with a local folder "loc/" in
// the left pane and the server root in the right one.
class ShellServerFixture : public AppFixture {
protected:
    void SetUp() override
    {
        existingProfile();
        ASSERT_TRUE(start());
        prepareServer();
        ASSERT_TRUE(server.start()) << server.errorText().toStdString();
        localRoot = env.root() + u"loc/"_qs;
        QDir().mkpath(localRoot);
        prepareLocal();
        master = &starter->ftp();
        master->client().setTimeouts({3000, 5000, 5000});
        master->SetConnectionData(server.host(), QString::number(server.port()), server.user(), server.password(), 0);
        ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
        main().SetIdleState();
        browser().FillServerGrid(u"/"_qs);
        browser().FillLocalGrid(localRoot);
        afterConnect();
        prompts.clear();
    }
    void TearDown() override
    {
        if (master && master->isConnected())
            master->Disconnect();
        AppFixture::TearDown();
    }
    virtual void prepareServer() {}
    virtual void prepareLocal() {}
    virtual void afterConnect() {}

    BrowserController &browser() { return starter->browser(); }
    FileGridPane &pane(BrowserSide side) { return browser().pane(side); }
    FileGridView *grid(BrowserSide side) { return pane(side).view(); }
    QStringList names(BrowserSide side)
    {
        QStringList out;
        for (int row = 0; row < pane(side).model().rowCount(); ++row)
            out << pane(side).model().nameAt(row);
        return out;
    }
    int rowOf(BrowserSide side, const QString &name) { return int(names(side).indexOf(name)); }
    // As a click on the row: it becomes the selected and the remembered row.
    void select(BrowserSide side, const QString &name)
    {
        const int row = rowOf(side, name);
        ASSERT_GE(row, 0) << name.toStdString();
        pane(side).selectRow(row);
    }
    // Several rows selected at once (an empty list clears the selection); the last one is current.
    void selectRows(BrowserSide side, const QStringList &names)
    {
        FileGridView *view = grid(side);
        view->clearSelection();
        for (const QString &name : names) {
            const int row = rowOf(side, name);
            ASSERT_GE(row, 0) << name.toStdString();
            view->selectionModel()->setCurrentIndex(view->model()->index(row, FileGridColumns::Name),
                                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    QString currentName(BrowserSide side) { return pane(side).model().nameAt(grid(side)->currentIndex().row()); }

    // What the name dialog showed when it opened.
    struct Seen {
        QString title;
        QString prompt;
        QString initial;
        bool shown = false;
    };
    // Answers the next name dialog: types the text and presses OK (or Abort).
    void answerName(const QString &text, Seen *seen = nullptr, bool ok = true)
    {
        RenameForm *form = starter->dialogs().rename;
        QTimer::singleShot(0, form, [form, text, seen, ok] {
            if (!form->isVisible())
                return;
            if (seen)
                *seen = {form->topLabel()->title(), form->infoLabel()->text(), form->nameEdit()->text(), true};
            form->nameEdit()->setText(text);
            (ok ? form->okButton() : form->abortButton())->click();
        });
    }

    FtpTestServer server;
    MasterFTP *master = nullptr;
    QString localRoot;
};

} // namespace Velmora::Testing
