#include "GetFilesListForm.h"

#include "app/WindowFront.h"
#include "app/WorkControl.h"
#include "common/SizeText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Velmora {

GetFilesListForm::GetFilesListForm(const AppContext &context, WorkControl &work, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Directory structure"), QString::fromUtf8("Verzeichnisstruktur"))
    , m_work(work)
{
    setObjectName(QStringLiteral("GetFilesListForm"));
    QVBoxLayout *layout = contentLayout();
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("TitleLabel"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    layout->addWidget(m_title);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("FilesListBox"));
    m_list->setUniformItemSizes(true);
    m_list->setMinimumSize(520, 260);
    layout->addWidget(m_list, 1);
    m_dirs = new QLabel(this);
    m_dirs->setObjectName(QStringLiteral("DirsLabel"));
    m_files = new QLabel(this);
    m_files->setObjectName(QStringLiteral("FilesLabel"));
    m_size = new QLabel(this);
    m_size->setObjectName(QStringLiteral("SizeLabel"));
    layout->addWidget(m_dirs);
    layout->addWidget(m_files);
    layout->addWidget(m_size);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_abort = new QPushButton(this);
    m_abort->setObjectName(QStringLiteral("AbortButton"));
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("CloseButton"));
    m_close->hide();
    buttons->addWidget(m_abort);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);

    m_timer.setInterval(500);
    connect(&m_timer, &QTimer::timeout, this, &GetFilesListForm::selectLastLine);
    connect(m_abort, &QPushButton::clicked, this, &GetFilesListForm::reject);
    connect(m_close, &QPushButton::clicked, this, &GetFilesListForm::reject);
    retranslate();
}

void GetFilesListForm::retranslate()
{
    m_title->setText(m_usedSpace ? text(QStringLiteral("Calculate used space"), QStringLiteral("Belegten Speicher berechnen"))
                                 : text(QStringLiteral("Get directory structure"), QStringLiteral("Verzeichnisstruktur lesen")));
    m_abort->setText(text(QStringLiteral("Abort"), QStringLiteral("Abbrechen")));
    m_close->setText(text(QStringLiteral("Close"), QString::fromUtf8("Schließen")));
}

void GetFilesListForm::setUsedSpaceMode(bool usedSpace)
{
    m_usedSpace = usedSpace;
    m_close->setVisible(usedSpace);
    retranslate();
}

QString GetFilesListForm::counterText(const QString &prefix, const QString &value)
{
    if (value.isEmpty() || value == u"0")
        return {};
    return prefix + u' ' + value;
}

void GetFilesListForm::addProgressLine(const QString &line, qint64 filesFound, qint64 totalSize, qint64 foldersFound)
{
    m_list->addItem(line);
    m_files->setText(counterText(text(QStringLiteral("Determined files: "), QStringLiteral("Ermittelte Dateien: ")),
                                 QString::number(filesFound)));
    m_size->setText(counterText(text(QStringLiteral("Determined size: "), QStringLiteral("Ermittelte Größe: ")),
                                totalSize > 0 ? FormatSizeLong(totalSize) : QString()));
    m_dirs->setText(counterText(text(QStringLiteral("Determined directories: "), QStringLiteral("Ermittelte Ordner: ")),
                                QString::number(foldersFound)));
}

void GetFilesListForm::openProgress()
{
    m_list->clear();
    m_files->clear();
    m_size->clear();
    m_dirs->clear();
    show();
    WindowFront::raise(*this);
}

void GetFilesListForm::collectionStarted(bool usedSpace)
{
    setUsedSpaceMode(usedSpace);
    openProgress();
}

void GetFilesListForm::collectionEnded(bool keepOpen)
{
    if (keepOpen) {
        selectLastLine();
        // The main window returns to its idle state next and focuses its grid; the figures
        // window takes the focus back once that is done.
        QTimer::singleShot(0, this, [this] {
            if (!isVisible())
                return;
            activateWindow();
            m_close->setFocus();
        });
    } else {
        hide();
    }
}

void GetFilesListForm::selectLastLine()
{
    const int count = m_list->count();
    if (count > 0) {
        m_list->setCurrentRow(count - 1);
        m_list->scrollToBottom();
    }
}

void GetFilesListForm::requestAbort()
{
    m_work.cancel.cancel();
}

void GetFilesListForm::reject()
{
    requestAbort();
    ToolDialog::reject();
}

void GetFilesListForm::showEvent(QShowEvent *event)
{
    ToolDialog::showEvent(event);
    m_timer.start();
}

void GetFilesListForm::hideEvent(QHideEvent *event)
{
    m_timer.stop();
    ToolDialog::hideEvent(event);
}

} // namespace Velmora
