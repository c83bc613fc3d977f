#include "CliSupport.h"

#include "TavroHost.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavro {

const OptionSpec kOutputOption = {"--output", "-o", true};

const char* const kCommonHelp =
    "\nConventions:\n"
    "  -o FILE, --output FILE  write to FILE instead of standard output; FILE is replaced only\n"
    "                          when the whole answer is ready, so a failure or an interrupt\n"
    "                          leaves it as it was\n"
    "  -                       as an input file (or after @ in a parameter): standard input\n"
    "  --                      ends the options; what follows is a file name\n"
    "  --name=VALUE            the same as --name VALUE\n"
    "Messages name the file and line of bad input and quote at most about 200 bytes of a field.\n"
    "\nExit status:\n"
    "  0  success\n"
    "  1  bad data: a file that cannot be read or written, a bad row, a result that cannot be\n"
    "     computed; nothing is written to standard output or to FILE then\n"
    "  2  bad usage: an unknown option, a missing or bad option value, a wrong file count\n";

namespace {

const OptionSpec* findOption(const QVector<OptionSpec>& options, const QString& name) {
    for (const OptionSpec& o : options)
        if (name == o.name || (o.shortName && name == o.shortName)) return &o;
    return nullptr;
}

// The longest input text a message quotes, in UTF-8 bytes.
const int kShownBytes = 200;

// The temporary file being written, removed by the interrupt handler. A plain array, so the
// handler touches nothing but async-signal-safe calls.
char g_pendingTemp[4096] = {0};
bool g_stdinTaken = false;
const char* g_verb = "";

void removePendingTemp(int signal) {
    if (g_pendingTemp[0]) ::unlink(g_pendingTemp);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

bool parseArgs(const QStringList& args, const QVector<OptionSpec>& options, int minFiles,
               int maxFiles, ParsedArgs& out, QString& error) {
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (optionsEnded || !arg.startsWith('-') || arg == "-") {
            out.files << arg;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        QString name = arg, value;
        const int equals = arg.startsWith("--") ? arg.indexOf('=') : -1;
        if (equals > 0) {
            name = arg.left(equals);
            value = arg.mid(equals + 1);
        }
        const OptionSpec* option = findOption(options, name);
        if (!option) {
            error = QString("unknown option \"%1\"").arg(shown(name));
            return false;
        }
        if (!option->takesValue) {
            if (equals > 0) {
                error = QString("%1 takes no value").arg(option->name);
                return false;
            }
            out.flags.insert(option->name);
            continue;
        }
        if (equals < 0) {
            if (i + 1 >= args.size()) {
                error = QString("%1 needs a value").arg(option->name);
                return false;
            }
            value = args[++i];
        }
        out.values[option->name] = value;
    }
    if (out.files.size() < minFiles || out.files.size() > maxFiles) {
        if (out.files.isEmpty())
            error = "no input FILE given";
        else if (minFiles == maxFiles)
            error = QString("%1 input FILE%2 expected, got %3")
                        .arg(minFiles == 1 ? QString("one") : QString::number(minFiles))
                        .arg(minFiles == 1 ? "" : "s")
                        .arg(out.files.size());
        else
            error = QString("%1 to %2 input FILEs expected, got %3")
                        .arg(minFiles)
                        .arg(maxFiles)
                        .arg(out.files.size());
        return false;
    }
    if (out.files.count("-") > 1) {
        error = "standard input (\"-\") can be read only once";
        return false;
    }
    return true;
}

int usageError(const char* verb, const QString& message) {
    std::fprintf(stderr, "tavro %s: %s (see tavro %s --help)\n", verb, message.toUtf8().constData(),
                 verb);
    return 2;
}

int dataError(const char* verb, const QString& message) {
    std::fprintf(stderr, "tavro %s: %s\n", verb, message.toUtf8().constData());
    return 1;
}

int dataError(const char* verb, const QStringList& messages) {
    for (const QString& m : messages)
        dataError(verb, m);
    return 1;
}

void setVerb(const char* verb) {
    g_verb = verb;
}

void warn(const QString& message) {
    std::fprintf(stderr, "tavro %s: warning: %s\n", g_verb, message.toUtf8().constData());
}

QString shown(const QString& text) {
    QString out;
    int bytes = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        QString piece;
        if (c == '\n')
            piece = "\\n";
        else if (c == '\t')
            piece = "\\t";
        else if (c == '\r')
            piece = "\\r";
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            piece = QString("\\x%1").arg(c.unicode(), 2, 16, QChar('0'));
        else if (c == QChar::ReplacementCharacter)
            piece = "\\ufffd";
        else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            piece = text.mid(i++, 2);
        else if (c.isSurrogate())
            piece = "\\ufffd";
        else
            piece = c;
        const int size = piece.toUtf8().size();
        if (bytes + size > kShownBytes) {
            out += QString("... (%1 characters)").arg(text.size());
            break;
        }
        bytes += size;
        out += piece;
    }
    return out;
}

bool readInput(const QString& path, QByteArray& bytes, QString& error) {
    QFile file;
    if (path == "-") {
        if (g_stdinTaken) {
            error = "standard input (\"-\") can be read only once";
            return false;
        }
        g_stdinTaken = true;
    }
    const bool opened = path == "-" ? file.open(stdin, QIODevice::ReadOnly)
                                    : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened || QFileInfo(path).isDir()) {
        error = QString("%1: cannot open: %2")
                    .arg(shown(path), opened ? QString("is a directory") : file.errorString());
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QString("%1: cannot read: %2").arg(shown(path), file.errorString());
        return false;
    }
    return true;
}

void Output::printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (size > 0) {
        const int start = m_text.size();
        m_text.resize(start + size + 1);
        std::vsnprintf(m_text.data() + start, size_t(size) + 1, format, args);
        m_text.resize(start + size);
    }
    va_end(args);
}

bool Output::commit(const QString& path, QString& error) const {
    return writeOutput(path, m_text, error);
}

namespace {
// Writes every byte to fd; false, with errno set, when a write fails.
bool writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    size_t left = size_t(bytes.size());
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        left -= size_t(n);
    }
    return true;
}

// Writes the bytes straight into something that is not a regular file.
bool writeInPlace(const QString& path, const QByteArray& target, const QByteArray& bytes,
                  QString& error) {
    errno = 0;
    const int fd = ::open(target.constData(), O_WRONLY);
    bool ok = fd >= 0 && writeAll(fd, bytes);
    const int why = errno ? errno : EIO;
    if (fd >= 0) ok = ::close(fd) == 0 && ok;
    if (!ok) error = QString("%1: cannot write: %2").arg(shown(path), std::strerror(why));
    return ok;
}
} // namespace

bool writeOutput(const QString& path, const QByteArray& bytes, QString& error) {
    if (path == "-") {
        if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) ==
                size_t(bytes.size()) &&
            std::fflush(stdout) == 0)
            return true;
        error = QString("standard output: cannot write: %1").arg(std::strerror(errno));
        return false;
    }
    QByteArray target = QFile::encodeName(path);
    struct stat found;
    if (::stat(target.constData(), &found) == 0) {
        // A device, pipe or socket is written in place: renaming a file over it would replace
        // it (as root, -o /dev/null would leave a regular file there).
        if (!S_ISREG(found.st_mode)) return writeInPlace(path, target, bytes, error);
        // A link keeps pointing where it did: the file it leads to is the one replaced.
        char resolved[PATH_MAX];
        if (::realpath(target.constData(), resolved)) target = QByteArray(resolved);
    }
    const QByteArray pattern = target + ".tmp-XXXXXX";
    if (size_t(pattern.size()) >= sizeof(g_pendingTemp)) {
        error = QString("%1: cannot write: the name is too long").arg(shown(path));
        return false;
    }
    char temp[sizeof(g_pendingTemp)];
    std::memcpy(temp, pattern.constData(), size_t(pattern.size()) + 1);
    const int fd = ::mkstemp(temp);
    if (fd < 0) {
        error = QString("%1: cannot write: %2").arg(shown(path), std::strerror(errno));
        return false;
    }
    std::memcpy(g_pendingTemp, temp, sizeof(temp));
    // The new file keeps the mode of the one it replaces, or gets the usual one for new files.
    struct stat existing;
    mode_t mode = 0;
    if (::stat(target.constData(), &existing) == 0)
        mode = existing.st_mode & 07777;
    else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    // The first failing call's errno says what went wrong.
    int why = 0;
    auto step = [&why](bool done) {
        if (!done && !why) why = errno ? errno : EIO;
        return done;
    };
    bool ok = step(::fchmod(fd, mode) == 0);
    ok = ok && step(writeAll(fd, bytes));
    ok = ok && step(::fsync(fd) == 0);
    ok = step(::close(fd) == 0) && ok;
    ok = ok && step(::rename(temp, target.constData()) == 0);
    if (!ok) {
        ::unlink(temp);
        error = QString("%1: cannot write: %2").arg(shown(path), std::strerror(why));
    }
    g_pendingTemp[0] = 0;
    return ok;
}

namespace {

// The state of the one progress bar a run shows at a time.
struct ProgressBar {
    QByteArray label;
    int min = 0, max = 0, shownPercent = -1;
};
ProgressBar g_bar;

void drawBar(int pos) {
    const int range = g_bar.max - g_bar.min;
    const double done =
        range > 0 ? double(std::min(std::max(pos, g_bar.min), g_bar.max) - g_bar.min) / range : 1.0;
    const int percent = static_cast<int>(done * 100.0);
    if (percent == g_bar.shownPercent) return;
    g_bar.shownPercent = percent;
    const int width = 30, filled = static_cast<int>(done * width);
    char bar[width + 1];
    for (int i = 0; i < width; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[width] = 0;
    std::fprintf(stderr, "\r%s [%s] %3d%%", g_bar.label.constData(), bar, percent);
    std::fflush(stderr);
}

} // namespace

void installProgressBar() {
    if (!::isatty(STDERR_FILENO)) return;
    TavroHost::Handlers h = TavroHost::handlers();
    h.progressStart = [](const QString& label, int min, int max) {
        g_bar.label = label.toUtf8();
        g_bar.min = min;
        g_bar.max = max;
        g_bar.shownPercent = -1;
        drawBar(min);
    };
    h.progressPos = [](int pos) {
        drawBar(pos);
        return 0;
    };
    h.progressEnd = [] {
        // Clears the bar's line, so later messages start on a clean line.
        std::fputs("\r\x1b[K", stderr);
        std::fflush(stderr);
    };
    TavroHost::setHandlers(h);
}

void installInterruptCleanup() {
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        std::signal(s, removePendingTemp);
}

} // namespace tavro
