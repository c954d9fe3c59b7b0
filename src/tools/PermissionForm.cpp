#include "PermissionForm.h"

#include "app/DialogHeader.h"
#include "app/Named.h"
#include "app/ProtocolLog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Velmora {

namespace {

// Component names of the boxes, in the order of PermissionBits.
const char *const BoxNames[9] = {"ROCheckBox", "WOCheckBox", "EOCheckBox", "RGCheckBox", "WGCheckBox",
                                 "EGCheckBox", "RPCheckBox", "WPCheckBox", "EPCheckBox"};

} // namespace

PermissionForm::PermissionForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("File permissions"), QStringLiteral("Datei Berechtigungen"))
{
    setObjectName(QStringLiteral("PermissionForm"));
    setModal(true);
    header()->setObjectName(QStringLiteral("Label3"));
    QVBoxLayout *content = contentLayout();

    m_hint = named(new QLabel(this), "Label1");
    content->addWidget(m_hint);

    auto *classes = new QHBoxLayout;
    const char *const groupNames[3] = {"GroupBox1", "GroupBox2", "GroupBox3"};
    for (int group = 0; group < 3; ++group) {
        m_groups[size_t(group)] = named(new QGroupBox(this), groupNames[group]);
        auto *column = new QVBoxLayout(m_groups[size_t(group)]);
        for (int i = 0; i < 3; ++i) {
            const int bit = group * 3 + i;
            QCheckBox *box = named(new QCheckBox(m_groups[size_t(group)]), BoxNames[bit]);
            m_boxes[size_t(bit)] = box;
            column->addWidget(box);
            connect(box, &QCheckBox::toggled, this, &PermissionForm::boxClicked);
        }
        classes->addWidget(m_groups[size_t(group)]);
    }
    content->addLayout(classes);
    // The owner can always read and enter: the dialog never takes these two away.
    m_boxes[PermissionBits::OwnerRead]->setEnabled(false);
    m_boxes[PermissionBits::OwnerExecute]->setEnabled(false);

    auto *valueRow = new QHBoxLayout;
    m_valueLabel = named(new QLabel(this), "Label2");
    m_value = named(new QLineEdit(QStringLiteral("777"), this), "ValueEdit");
    m_value->setMaximumWidth(m_value->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    m_valueLabel->setBuddy(m_value);
    valueRow->addWidget(m_valueLabel);
    valueRow->addWidget(m_value);
    valueRow->addStretch();
    content->addLayout(valueRow);
    connect(m_value, &QLineEdit::textEdited, this, &PermissionForm::ValueEditChange);

    m_recursiveGroup = named(new QGroupBox(this), "RecursiveGroupBox");
    auto *recursion = new QVBoxLayout(m_recursiveGroup);
    m_recursive = named(new QCheckBox(m_recursiveGroup), "RecursiveCheckBox");
    m_all = named(new QRadioButton(m_recursiveGroup), "FileAndDirRadioButton");
    m_files = named(new QRadioButton(m_recursiveGroup), "FileRadioButton");
    m_dirs = named(new QRadioButton(m_recursiveGroup), "DirRadioButton");
    m_all->setChecked(true);
    for (QWidget *control : {static_cast<QWidget *>(m_recursive), static_cast<QWidget *>(m_all),
                             static_cast<QWidget *>(m_files), static_cast<QWidget *>(m_dirs)})
        recursion->addWidget(control);
    content->addWidget(m_recursiveGroup);
    connect(m_recursive, &QCheckBox::toggled, this, &PermissionForm::updateScopeEnabled);

    const OkAbortButtons buttons = addOkAbortButtons();
    m_ok = named(buttons.ok, "BitBtn1");
    m_abort = named(buttons.abort, "BitBtn2");
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    updateScopeEnabled();
    retranslate();
}

void PermissionForm::retranslate()
{
    m_hint->setText(text(QStringLiteral("Please select the new attributes"), QString::fromUtf8("Bitte wählen Sie die neuen Attribute")));
    m_groups[0]->setTitle(text(QStringLiteral("Owner permissions"), QStringLiteral("Besitzer Berechtigungen")));
    m_groups[1]->setTitle(text(QStringLiteral("Group permissions"), QStringLiteral("Gruppen Berechtigungen")));
    m_groups[2]->setTitle(text(QStringLiteral("Public permissions"), QString::fromUtf8("Öffentliche Berechtigungen")));
    for (int group = 0; group < 3; ++group) {
        m_boxes[size_t(group * 3)]->setText(text(QStringLiteral("Read"), QStringLiteral("Lesen")));
        m_boxes[size_t(group * 3 + 1)]->setText(text(QStringLiteral("Write"), QStringLiteral("Schreiben")));
        m_boxes[size_t(group * 3 + 2)]->setText(text(QStringLiteral("Execute"), QString::fromUtf8("Ausführen")));
    }
    m_valueLabel->setText(text(QStringLiteral("Numeric value:"), QStringLiteral("Wert;")));
    m_recursiveGroup->setTitle(text(QStringLiteral("Recursive"), QStringLiteral("Rekursiv")));
    m_recursive->setText(text(QStringLiteral("Recurse in subdirectories"), QStringLiteral("Rekursiv in alle Ordner")));
    m_all->setText(text(QStringLiteral("Apply to all files and directories"), QStringLiteral("Auf Dateien und Ordner anwenden")));
    m_files->setText(text(QStringLiteral("Apply to files only"), QStringLiteral("Nur auf Dateien anwenden")));
    m_dirs->setText(text(QStringLiteral("Apply to directories only"), QStringLiteral("Nur auf Ordner anwenden")));
    m_ok->setText(QStringLiteral("OK"));
    m_abort->setText(text(QStringLiteral("Abort"), QStringLiteral("Abbrechen")));
}

PermissionBits PermissionForm::bits() const
{
    PermissionBits result;
    for (int bit = 0; bit < 9; ++bit)
        result[bit] = m_boxes[size_t(bit)]->isChecked();
    return result;
}

void PermissionForm::setBits(const PermissionBits &bits)
{
    m_updating = true;
    for (int bit = 0; bit < 9; ++bit)
        m_boxes[size_t(bit)]->setChecked(bits[bit]);
    m_updating = false;
    const QString value = bits.valueText();
    if (m_value->text() != value)
        m_value->setText(value);
}

void PermissionForm::prepare(bool selectionHasFolder, const QString &permissionString)
{
    m_recursiveGroup->setVisible(selectionHasFolder);
    setBits(PermissionBits::fromPermissionString(permissionString));
    updateScopeEnabled();
    m_value->setFocus();
}

bool PermissionForm::ask(bool selectionHasFolder, const QString &permissionString)
{
    prepare(selectionHasFolder, permissionString);
    return exec() == QDialog::Accepted;
}

PermissionChoice PermissionForm::choice() const
{
    PermissionChoice choice;
    choice.value = m_value->text().trimmed();
    choice.recursive = m_recursive->isChecked();
    choice.scope = m_files->isChecked() ? PermissionChoice::Scope::FilesOnly
        : m_dirs->isChecked()          ? PermissionChoice::Scope::DirectoriesOnly
                                       : PermissionChoice::Scope::All;
    return choice;
}

void PermissionForm::boxClicked()
{
    if (m_updating)
        return;
    // A click changes one bit of the value: the special-bits digit of a four-digit value stays.
    const QString value = SpecialPermissionDigit(m_value->text()) + bits().valueText();
    if (m_value->text() != value)
        m_value->setText(value);
}

void PermissionForm::ValueEditChange(const QString &typed)
{
    // The boxes follow what is typed; the text stays as typed, for it is the value that is sent
    // ("064" on the way to "0644" must not become another value).
    const PermissionValueResult result = ApplyPermissionValue(typed, bits());
    if (!result.applied)
        return;
    m_updating = true;
    for (int bit = 0; bit < 9; ++bit)
        m_boxes[size_t(bit)]->setChecked(result.bits[bit]);
    m_updating = false;
    if (!result.error.isEmpty())
        context().protocol.AddProtocolMessage(ProtocolEntry::Error, result.error);
}

void PermissionForm::updateScopeEnabled()
{
    const bool on = m_recursive->isChecked();
    for (QRadioButton *choice : {m_all, m_files, m_dirs})
        choice->setEnabled(on);
}

} // namespace Velmora
