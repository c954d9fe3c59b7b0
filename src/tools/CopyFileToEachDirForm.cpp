#include "CopyFileToEachDirForm.h"

#include "CopyToEachDir.h"

#include "app/DialogHeader.h"
#include "app/Named.h"
#include "app/UserPrompts.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace Velmora {

CopyFileToEachDirForm::CopyFileToEachDirForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Copy file(s) to each directory (and Subdirectories)"),
                 QStringLiteral("Eine Datei(en) in jedes Verzeichnis kopieren (inklusiv Unterordner)"))
{
    setObjectName(QStringLiteral("CopyFileToEachDirForm"));
    setModal(true);
    header()->setObjectName(QStringLiteral("TopLabel"));
    QVBoxLayout *content = contentLayout();

    m_listLabel = named(new QLabel(this), "Label1");
    m_list = named(new QListWidget(this), "ListBox1");
    m_list->setMinimumSize(560, 220);
    m_listLabel->setBuddy(m_list);
    content->addWidget(m_listLabel);
    content->addWidget(m_list, 1);

    auto *sourceRow = new QHBoxLayout;
    m_select = named(new QPushButton(this), "BitBtn4");
    m_select->setAutoDefault(false);
    m_sourceEdit = named(new QLineEdit(this), "Edit1");
    m_sourceEdit->setReadOnly(true);
    sourceRow->addWidget(m_select);
    sourceRow->addWidget(m_sourceEdit, 1);
    content->addLayout(sourceRow);
    connect(m_select, &QPushButton::clicked, this, &CopyFileToEachDirForm::BitBtn4Click);

    const OkAbortButtons buttons = addOkAbortButtons();
    m_copy = named(buttons.ok, "BitBtn1");
    m_abort = named(buttons.abort, "BitBtn2");
    retranslate();
}

void CopyFileToEachDirForm::retranslate()
{
    m_listLabel->setText(text(QStringLiteral("Destination directories for file"), QString::fromUtf8("Zielordner für die Datei")));
    m_select->setText(text(QStringLiteral("Select file(s)"), QString::fromUtf8("Datei(en) auswählen")));
    m_copy->setText(text(QStringLiteral("Copy"), QStringLiteral("Kopieren")));
    m_abort->setText(text(QStringLiteral("Abort"), QStringLiteral("Abbrechen")));
    // The title drawn over the header picture fits the dialog.
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    setMinimumWidth(QFontMetrics(titleFont).horizontalAdvance(headerTitle()) + 40);
}

void CopyFileToEachDirForm::prepare(const QStringList &destinations)
{
    m_list->clear();
    QSet<QString> seen;
    for (const QString &folder : destinations) {
        if (seen.contains(folder))
            continue;
        seen.insert(folder);
        m_list->addItem(folder);
    }
    m_sources.clear();
    m_sourceEdit->clear();
    m_copy->setEnabled(false);
    m_select->setFocus();
}

bool CopyFileToEachDirForm::ask(const QStringList &destinations)
{
    prepare(destinations);
    return exec() == QDialog::Accepted;
}

void CopyFileToEachDirForm::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() == Qt::NoModifier && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        accept();
        return;
    }
    ToolDialog::keyPressEvent(event);
}

QStringList CopyFileToEachDirForm::destinations() const
{
    QStringList folders;
    for (int row = 0; row < m_list->count(); ++row)
        folders.append(m_list->item(row)->text());
    return folders;
}

void CopyFileToEachDirForm::BitBtn4Click()
{
    const QStringList chosen = context().prompts.openFiles(text(QStringLiteral("Select file(s)"), QString::fromUtf8("Datei(en) auswählen")),
                                                           QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QString());
    if (chosen.isEmpty())
        return;
    m_sources = chosen;
    QString field;
    for (const QString &path : chosen)
        field += path + u'|';
    m_sourceEdit->setText(field);
    m_copy->setEnabled(true);
}

} // namespace Velmora
