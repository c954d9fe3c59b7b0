#include "SiteTableModel.h"

#include "engine/EncryptionChoice.h"

#include "ConnectionStore.h"

#include "common/Language.h"

#include <QColor>
#include <QFont>

namespace Velmora {

SiteTableModel::SiteTableModel(ConnectionStore &store, const Language &language, QObject *parent)
    : QAbstractTableModel(parent)
    , m_store(store)
    , m_language(language)
{
}

int SiteTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_store.sites().size());
}

int SiteTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FTPConnection::FieldCount;
}

QString SiteTableModel::displayText(int row, int column) const
{
    const QString value = m_store.sites().value(row).field(column);
    if (column == FTPConnection::PasswordField)
        return MaskCharacter.repeated(value.size());
    if (column == FTPConnection::EncryptionField)
        return EncryptionChoice::Text(m_store.sites().value(row).encryption(), &m_language);
    return value;
}

QVariant SiteTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_store.sites().size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return displayText(index.row(), index.column());
    case Qt::EditRole:
        if (index.column() == FTPConnection::EncryptionField)
            return displayText(index.row(), index.column());
        return m_store.sites()[index.row()].field(index.column());
    case Qt::FontRole:
        if (index.column() == FTPConnection::PasswordField) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::BackgroundRole:
        if (m_tableEdit)
            return QColor(255, 248, 223);
        return {};
    default:
        return {};
    }
}

QVariant SiteTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case FTPConnection::NameField: return QStringLiteral("Name");
    case FTPConnection::HostField: return QStringLiteral("Host");
    case FTPConnection::UserField: return m_language.text(QStringLiteral("User"), QStringLiteral("Benutzer:"));
    case FTPConnection::PasswordField: return m_language.text(QStringLiteral("Password"), QStringLiteral("Passwort"));
    case FTPConnection::PortField: return QStringLiteral("Port");
    case FTPConnection::LocalPathField: return m_language.text(QStringLiteral("Local path."), QStringLiteral("Lokaler Pfad:"));
    case FTPConnection::ServerPathField: return m_language.text(QStringLiteral("Server path:"), QStringLiteral("Server Pfad:"));
    case FTPConnection::ModeField: return m_language.text(QStringLiteral("Transfer type:"), QStringLiteral("Transfer Typ:"));
    case FTPConnection::EncryptionField: return m_language.text(QStringLiteral("Encryption"), QStringLiteral("Verschlüsselung"));
    default: return {};
    }
}

Qt::ItemFlags SiteTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (m_tableEdit && index.isValid())
        result |= Qt::ItemIsEditable;
    return result;
}

bool SiteTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!m_tableEdit || role != Qt::EditRole || !index.isValid() || index.row() >= m_store.sites().size())
        return false;
    QString text = value.toString();
    FTPConnection site = m_store.sites()[index.row()];
    if (index.column() == FTPConnection::EncryptionField) {
        // The cell takes a choice's text in either language, or its keyword.
        const auto chosen = EncryptionChoice::FromAnyText(text);
        if (!chosen) {
            Q_EMIT editRefused();
            return false;
        }
        text = EncryptionChoice::Keyword(*chosen);
    }
    if (site.field(index.column()) == text)
        return false;
    const int column = index.column();
    const bool required = column == FTPConnection::NameField || column == FTPConnection::HostField
        || column == FTPConnection::PortField;
    if (required && text.trimmed().isEmpty()) {
        Q_EMIT editRefused();
        return false;
    }
    site.setField(column, text);
    m_store.sites()[index.row()] = site;
    Q_EMIT dataChanged(index, index);
    Q_EMIT cellEdited(index.row(), site);
    return true;
}

void SiteTableModel::setTableEdit(bool on)
{
    beginResetModel();
    m_tableEdit = on;
    endResetModel();
}

void SiteTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

void SiteTableModel::retranslate()
{
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, FTPConnection::FieldCount - 1);
}

} // namespace Velmora
