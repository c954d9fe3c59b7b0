#pragma once

#include <QString>

#include <array>

namespace Velmora {

// The nine Unix permission bits as the permission dialog shows them: owner, group and others,
// each read, write and execute, in that order.
struct PermissionBits {
    enum Bit { OwnerRead, OwnerWrite, OwnerExecute, GroupRead, GroupWrite, GroupExecute, OtherRead, OtherWrite, OtherExecute };
    std::array<bool, 9> bits{true, true, true, true, true, true, true, true, true};

    bool operator==(const PermissionBits &) const = default;
    bool &operator[](int bit) { return bits[size_t(bit)]; }
    bool operator[](int bit) const { return bits[size_t(bit)]; }

    // The bits of a listing's ten-character permissions text ("-rwxr-xr-x"; the first character
    // is the entry type). A bit is set unless its character is "-", so "s", "t", "S" and "T"
    // count as set, and so does every position beyond the end of a shorter text.
    static PermissionBits fromPermissionString(const QString &text);
    // The three-digit octal value ("755"): per class 4 x read + 2 x write + 1 x execute.
    QString valueText() const;
};

// What typing a value into the dialog's value box does to the boxes. The typed text itself is
// never rewritten: it is the value that is sent, so the boxes show it as written.
struct PermissionValueResult {
    PermissionBits bits;  // the boxes afterwards
    bool applied = false; // false: fewer than three or more than four characters, the boxes stay
    QString error;        // the conversion error of a character that is no digit, else empty
};

// The value text is trimmed; with fewer than three or more than four characters nothing happens.
// Three characters are the owner, group and others digits; of four, the first is the special
// bits (setuid, setgid, sticky) and the other three follow it. Each of those digits in base 2,
// padded with "0" to three characters, gives read, write and execute from its first three
// characters (so 8 and 9, "1000" and "1001", give read only), the owner's read and execute
// included: the boxes show the value exactly as written. A character that is no digit stops
// the conversion with an error; the digits before it are applied.
PermissionValueResult ApplyPermissionValue(const QString &valueText, const PermissionBits &current);
// The special-bits digit of a four-digit value ("4" of "4755"), else an empty text.
QString SpecialPermissionDigit(const QString &valueText);

// True for a value that may be sent to the server: three octal digits, or four with the special
// bits (setuid, setgid, sticky) in front. A shorter value would set other bits than the boxes show.
bool IsCompletePermissionValue(const QString &value);
// The message for a value that is not complete.
QString IncompletePermissionValueText(const QString &value, bool german);

} // namespace Velmora
