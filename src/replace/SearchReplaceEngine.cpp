#include "SearchReplaceEngine.h"

#include "ByteLines.h"
#include "SearchReplaceError.h"
#include "common/TextCodec.h"
#include "common/TextReplace.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Velmora {

namespace {

bool readsFiles(ReplaceMode mode)
{
    return mode != ReplaceMode::ReplaceFile;
}

// Operations 0, 2 and 3 depend on the term; 1, 4 and 5 take every selected file.
bool usesTerm(ReplaceMode mode)
{
    return mode == ReplaceMode::ReplaceTerm || mode == ReplaceMode::InsertAfterTerm
        || mode == ReplaceMode::InsertBeforeTerm;
}

// Read with the plain system calls: the search-only run reads every file on every key press,
// and the file object's own checks cost as much as the search itself.
QByteArray readWorkingCopy(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw SearchReplaceError(SearchReplaceError::Read, path);
    struct stat info {};
    QByteArray bytes;
    bool ok = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    if (ok) {
        bytes.resize(qsizetype(info.st_size));
        qsizetype done = 0;
        while (ok) {
            if (done == bytes.size())
                bytes.resize(done + 4096); // the file grew since fstat
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR)
                continue;
            ok = got >= 0;
            if (got <= 0)
                break;
            done += got;
        }
        bytes.truncate(done);
    }
    ::close(fd);
    if (!ok)
        throw SearchReplaceError(SearchReplaceError::Read, path);
    return bytes;
}

// Written through a temporary file, so a failed write leaves the old working copy whole.
bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

// Writes the lines (each with its own line end) unless they give the bytes the copy has: a
// file the operation did not change keeps its bytes and its time. True when it was written.
bool writeWorkingCopy(const QString &path, const QList<QByteArray> &lines, const QByteArray &before)
{
    QByteArray bytes;
    qsizetype total = 0;
    for (const QByteArray &line : lines)
        total += line.size();
    bytes.reserve(total);
    for (const QByteArray &line : lines)
        bytes += line;
    if (bytes == before)
        return false;
    if (!writeBytes(path, bytes))
        throw SearchReplaceError(SearchReplaceError::Write, path);
    return true;
}

// A line without its line end, and the end.
QByteArray contentOf(const QByteArray &line, QByteArray *end)
{
    *end = ByteLines::LineEndOf(line);
    return line.first(line.size() - end->size());
}

QList<QByteArray> withEnds(const QList<QByteArray> &lines, const QByteArray &lineEnd)
{
    QList<QByteArray> out;
    out.reserve(lines.size());
    for (const QByteArray &line : lines)
        out.append(line + lineEnd);
    return out;
}

// The byte-level form of the shared replacement rule, case-sensitive: Latin-1 maps every byte
// to one character and back, so the bytes pass through unchanged.
QByteArray replaceAllBytes(const QByteArray &line, const QByteArray &term, const QByteArray &replacement)
{
    return ReplaceText(QString::fromLatin1(line), QString::fromLatin1(term), QString::fromLatin1(replacement),
                       true, false)
        .toLatin1();
}

// Operation 1 replaces the copy by the source file. A failed copy is not reported: the entry
// is marked and counted as written all the same.
void copySourceOver(const QString &source, const QString &workingCopy)
{
    QFile in(source);
    if (in.open(QIODevice::ReadOnly))
        writeBytes(workingCopy, in.readAll());
    QFile out(workingCopy);
    if (out.open(QIODevice::ReadOnly))
        out.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
}

} // namespace

SearchReplaceEngine::SearchReplaceEngine(SearchReplaceObserver *observer)
    : m_observer(observer)
{
}

QString SearchReplaceEngine::ProgressText(qsizetype index, qsizetype count)
{
    if (count <= 0)
        return {};
    const qint64 scaled = qint64(index) * 100;
    qint64 value = scaled / count;
    const qint64 twiceRest = 2 * (scaled % count);
    if (twiceRest > count || (twiceRest == count && value % 2 != 0))
        ++value;
    return QString::number(value) + u'%';
}

namespace {

// The job's texts as the bytes of one encoding.
struct Forms {
    QByteArray term;
    QByteArray replacement;
    QList<QByteArray> termLines;
    QList<QByteArray> edgeLines;
};

Forms formsOf(const ReplaceJob &job, bool utf8)
{
    const auto bytes = [utf8](const QString &text) {
        return utf8 ? text.toUtf8() : TextCodec::EncodeWindows1252(text);
    };
    Forms forms;
    forms.term = bytes(job.term);
    forms.replacement = bytes(job.replacement);
    for (const QString &line : job.termLines)
        forms.termLines.append(bytes(line));
    for (const QString &line : job.edgeLines)
        forms.edgeLines.append(bytes(line));
    return forms;
}

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// A line of a Windows-1252 file that is written in UTF-8 (a file that mixes both).
bool isUtf8Line(const QByteArray &content)
{
    return !isAscii(content) && TextCodec::IsValidUtf8(content);
}

} // namespace

bool SearchReplaceEngine::FitsWindows1252(const ReplaceJob &job)
{
    for (const QString &text : job.textsInUse()) {
        if (!TextCodec::FitsWindows1252(text))
            return false;
    }
    return true;
}

SearchReplaceEngine::Edit SearchReplaceEngine::EditLines(const ReplaceJob &job, QList<QByteArray> lines, bool utf8File,
                                                         const QByteArray &lineEnd)
{
    Edit edit;
    if (!utf8File && job.mode != ReplaceMode::ReplaceFile && !FitsWindows1252(job)) {
        // No "?" ever reaches a file: a text the file's encoding cannot hold leaves it alone.
        edit.unfit = true;
        edit.lines = std::move(lines);
        return edit;
    }
    const Forms utf8 = formsOf(job, true);
    const Forms ansi = utf8File ? Forms() : formsOf(job, false);
    const Forms &inFile = utf8File ? utf8 : ansi;
    const auto formsFor = [&](const QByteArray &content) -> const Forms & {
        return utf8File || isUtf8Line(content) ? utf8 : ansi;
    };
    switch (job.mode) {
    case ReplaceMode::ReplaceTerm: {
        if (job.term.isEmpty())
            break;
        for (QByteArray &line : lines) {
            QByteArray end;
            const QByteArray content = contentOf(line, &end);
            const Forms &forms = formsFor(content);
            if (!content.contains(forms.term))
                continue;
            edit.hit = true;
            line = (job.replaceWholeLine ? forms.replacement : replaceAllBytes(content, forms.term, forms.replacement)) + end;
        }
        edit.lines = std::move(lines);
        break;
    }
    case ReplaceMode::InsertAfterTerm:
    case ReplaceMode::InsertBeforeTerm: {
        if (job.term.isEmpty())
            break;
        const bool after = job.mode == ReplaceMode::InsertAfterTerm;
        edit.lines.reserve(lines.size());
        for (QByteArray &line : lines) {
            QByteArray end;
            const QByteArray content = contentOf(line, &end);
            const Forms &forms = formsFor(content);
            if (!content.contains(forms.term)) {
                edit.lines.append(std::move(line));
                continue;
            }
            edit.hit = true;
            const QList<QByteArray> inserted = withEnds(forms.termLines, lineEnd);
            if (!after)
                edit.lines.append(inserted);
            edit.lines.append(std::move(line));
            if (after)
                edit.lines.append(inserted);
        }
        break;
    }
    case ReplaceMode::InsertAtBeginning:
        edit.hit = true;
        edit.lines = withEnds(inFile.edgeLines, lineEnd);
        edit.lines.append(std::move(lines));
        break;
    case ReplaceMode::InsertAtEnd:
        edit.hit = true;
        edit.lines = std::move(lines);
        edit.lines.append(withEnds(inFile.edgeLines, lineEnd));
        break;
    case ReplaceMode::ReplaceFile:
        edit.hit = true;
        edit.lines = std::move(lines);
        break;
    }
    // A line that now has lines after it needs an end (the last line of a file without a
    // final line break, when lines were inserted after it).
    for (qsizetype i = 0; i + 1 < edit.lines.size(); ++i) {
        if (ByteLines::LineEndOf(edit.lines[i]).isEmpty())
            edit.lines[i] += lineEnd;
    }
    return edit;
}

bool SearchReplaceEngine::FindsTerm(const ReplaceJob &job, const QByteArray &fileBytes)
{
    if (job.term.isEmpty() || job.term.contains(u'\r') || job.term.contains(u'\n') || ByteLines::IsBinary(fileBytes))
        return false;
    // A term without line breaks cannot span two lines, so a match in the whole text is a
    // match in one line. A UTF-8 file is searched for the term's UTF-8 bytes; in a
    // Windows-1252 file only a term beyond ASCII needs the lines, because lines written in
    // UTF-8 are searched with its other form.
    if (TextCodec::IsValidUtf8(fileBytes))
        return fileBytes.indexOf(job.term.toUtf8()) >= 0;
    if (!FitsWindows1252(job))
        return false;
    const QByteArray term = TextCodec::EncodeWindows1252(job.term);
    if (isAscii(term))
        return fileBytes.indexOf(term) >= 0;
    return EditLines(job, ByteLines::SplitKeepingEnds(fileBytes), false).hit;
}

void SearchReplaceEngine::RunSearchReplace(ReplaceJob job, QList<SearchEntry> &entries, bool write, bool &anyFileWritten)
{
    const qsizetype count = entries.size();
    const bool fits = FitsWindows1252(job);
    // Entries are addressed by index: a nested search-only run started from pumped events
    // changes marks but never the list itself.
    for (qsizetype i = 0; i < count && i < entries.size(); ++i) {
        if (entries[i].selected) {
            runEntry(job, fits, entries[i], write, anyFileWritten);
            if (readsFiles(job.mode))
                pumpEvents();
        }
        report(ProgressText(i, count));
    }
    report(QString());
}

void SearchReplaceEngine::runEntry(const ReplaceJob &job, bool fitsWindows1252, SearchEntry &entry, bool write,
                                   bool &anyFileWritten)
{
    const QString path = entry.workingCopyPath;
    entry.unfit = false;
    if (job.mode == ReplaceMode::ReplaceFile) {
        if (write) {
            copySourceOver(job.sourceFile, path);
            anyFileWritten = true;
        }
        entry.hitMark = 1;
        return;
    }
    const QByteArray bytes = readWorkingCopy(path);
    entry.binary = ByteLines::IsBinary(bytes);
    if (entry.binary) {
        entry.hitMark = 0; // a binary file is listed as skipped and never changed
        return;
    }
    const bool utf8File = TextCodec::IsValidUtf8(bytes);
    if (!utf8File && !fitsWindows1252) {
        entry.unfit = true; // listed as left unchanged: its encoding cannot hold the texts
        entry.hitMark = 0;
        return;
    }
    if (!usesTerm(job.mode)) {
        // Operations 4 and 5 take every selected file; only writing needs its lines.
        if (write
            && writeWorkingCopy(path,
                                EditLines(job, ByteLines::SplitKeepingEnds(bytes), utf8File, ByteLines::UsualLineEnd(bytes)).lines,
                                bytes))
            anyFileWritten = true;
        entry.hitMark = 1; // marked only once the file is written, when writing
        return;
    }
    if (!write) {
        entry.hitMark = FindsTerm(job, bytes) ? 1 : 0;
        return;
    }
    const Edit edit = EditLines(job, ByteLines::SplitKeepingEnds(bytes), utf8File, ByteLines::UsualLineEnd(bytes));
    if (!edit.hit) {
        entry.hitMark = 0; // no hit: the file keeps its bytes
        return;
    }
    if (writeWorkingCopy(path, edit.lines, bytes))
        anyFileWritten = true;
    entry.hitMark = 1;
}

void SearchReplaceEngine::report(const QString &progress)
{
    if (m_observer)
        m_observer->progressChanged(progress);
}

void SearchReplaceEngine::pumpEvents()
{
    if (m_observer)
        m_observer->fileFinished();
}

} // namespace Velmora
