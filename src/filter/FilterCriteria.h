#pragma once

#include <QString>

namespace Velmora {

// The thirteen settings of the transfer filter, named like the keys of a filter file. Texts are
// kept exactly as the user typed them ("|" between alternatives); the indexes are the items of
// the filter window's combo boxes. An index may lie outside its list (a hand-edited filter file,
// or -1 for a combo box without selection); the evaluation copes with that.
struct FilterCriteria {
    // TermDir and WithoutTermDir: where the words are looked for.
    enum Place { InFilename = 0, InDirectoryAndFilename = 1, InFiledate = 2, PlaceCount = 3 };
    // AndDate, AndExtension, AndFileSize: how a test joins the result so far.
    enum Joiner { Or = 0, And = 1, JoinerCount = 2 };
    enum DateTest { AllWithDate = 0, WithoutSpecifiedDate = 1, DateSince = 2, DateBefore = 3, DateTestCount = 4 };
    enum ExtensionTest { AllWithExtension = 0, AllWithoutExtension = 1, ExtensionTestCount = 2 };
    enum SizeTest { SizeLess = 0, SizeGreaterOrEqual = 1, SizeEqual = 2, SizeTestCount = 3 };

    // The term that lets every record pass.
    static inline const QString AllFiles = QStringLiteral("*.*");

    QString term = AllFiles;
    int termDir = InFilename;
    QString withoutTerm;
    int withoutTermDir = InFilename;
    int andDate = Or;
    int dateIE = AllWithDate;
    QString date;
    int andExtension = Or;
    int extensionIE = AllWithExtension;
    QString extension;
    int andFileSize = Or;
    int fileSizeIE = SizeLess;
    QString fileSize;

    // The empty filter: what every program start and "Reset Filter" begin with.
    static FilterCriteria empty() { return {}; }

    bool operator==(const FilterCriteria &) const = default;
};

// The extensions of files that are not text: "Ascii files" excludes them, and the search in files
// passes only files whose extension contains none of these words.
inline const QString NonTextExtensions = QStringLiteral(
    "jpg|jpeg|bmp|png|gif|exe|swf|doc|pdf|zip|gz|mp3|mp4|wav|mov|avi|mpeg|wmv|wma|mpg|rar|tar|flv|rm|asx|mkv|flm");

// The size a record that is not a regular file compares with in the size test.
inline const QString NonFileSize = QStringLiteral("4111215");

} // namespace Velmora
