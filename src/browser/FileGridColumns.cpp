#include "FileGridColumns.h"

#include "common/Language.h"

namespace Velmora::FileGridColumns {

int designWidth(BrowserSide side, int column)
{
    switch (column) {
    case Kind:
        return 20;
    case Name:
        return 250;
    case FileType:
        return 70;
    case Size:
        return 90;
    case Date:
        return 120;
    case 5:
        return side == BrowserSide::Local ? 20 : 90;
    case Owner:
        return 100;
    case ServerIcon:
        return 20;
    default:
        return 0;
    }
}

QString caption(BrowserSide side, int column, const Language *language)
{
    const auto t = [language](const char16_t *english, const char16_t *german) {
        return language ? language->text(QString::fromUtf16(english), QString::fromUtf16(german))
                        : QString::fromUtf16(english);
    };
    switch (column) {
    case Name:
        return t(u"Filename:", u"Dateiname:");
    case FileType:
        return t(u"File type:", u"Dateitype:");
    case Size:
        return t(u"Filesize:", u"Dateigröße:");
    case Date:
        return t(u"Date:", u"Datum:");
    case Permissions:
        return side == BrowserSide::Server ? t(u"Permission:", u"Berechtigung:") : QString();
    case Owner:
        return side == BrowserSide::Server ? t(u"Owner / Group", u"Besitzer / Gruppe") : QString();
    default:
        return {}; // kind and icon have no caption
    }
}

QList<Field> sortKey(BrowserSide side, int column)
{
    using F = Field;
    if (side == BrowserSide::Local) {
        switch (column) {
        case Name:
            return {F::Kind, F::Name, F::FileType, F::Size, F::Date};
        case FileType:
            return {F::Kind, F::FileType, F::Name, F::Size, F::Date};
        case Size:
            return {F::Size, F::Kind, F::Name, F::FileType, F::Date};
        case Date:
            return {F::Date, F::Kind, F::Name, F::FileType, F::Size};
        default:
            return {};
        }
    }
    switch (column) {
    case Name:
        return {F::Kind, F::Name, F::FileType, F::Size, F::Date, F::Permissions, F::Owner};
    case FileType:
        return {F::Kind, F::FileType, F::Name, F::Size, F::Date, F::Permissions, F::Owner};
    case Size:
        return {F::Size, F::Kind, F::Name, F::FileType, F::Date, F::Permissions, F::Owner};
    case Date:
        // The server's date key puts the kind first: folders stay before files.
        return {F::Kind, F::Date, F::Name, F::FileType, F::Size, F::Permissions, F::Owner};
    case Permissions:
        return {F::Kind, F::Permissions, F::Name, F::FileType, F::Size, F::Date, F::Owner};
    case Owner:
        return {F::Kind, F::Owner, F::Name, F::FileType, F::Size, F::Date, F::Permissions};
    default:
        return {};
    }
}

} // namespace Velmora::FileGridColumns
