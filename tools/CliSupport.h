#pragma once
// What every verb of tavro shares: one option parser, one wording for usage and data errors,
// input from a file or standard input, and output that reaches its file only when complete.
//
// A verb follows the conventions by
//   1. listing its options in a QVector<OptionSpec> and calling parseArgs (which knows -o/--output
//      when the verb writes, "-" for standard input, "--" to end the options),
//   2. reporting with usageError (status 2) or dataError (status 1), and quoting any input text
//      in a message through shown(),
//   3. reading with readInput and building its whole answer in an Output, then calling
//      Output::commit with the --output value, so a failure leaves the target untouched,
//   4. writing its help with the sections "usage:", "Input:", "Output:" and "Options:"; the
//      program adds the shared conventions and the exit statuses below it.

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

namespace tavro {

// One option of a verb: its long name ("--angle"), an optional short name ("-o") and whether it
// takes a value ("--angle 5" or "--angle=5").
struct OptionSpec {
    const char* name;
    const char* shortName;
    bool takesValue;
};

// The --output option of every verb that writes a table or polylines.
extern const OptionSpec kOutputOption;

struct ParsedArgs {
    QMap<QString, QString> values; // options with a value, by long name; the last one given wins
    QSet<QString> flags;           // options without a value that were given
    QStringList files;             // the operands, "-" for standard input

    bool has(const QString& name) const { return values.contains(name) || flags.contains(name); }
    QString value(const QString& name, const QString& fallback = QString()) const {
        return values.value(name, fallback);
    }
    // The --output value, "-" (standard output) when not given.
    QString output() const { return values.value("--output", "-"); }
};

// Splits args by options; false with a message for an unknown option, a missing value, a value
// given to a flag, or a number of operands outside [minFiles, maxFiles].
bool parseArgs(const QStringList& args, const QVector<OptionSpec>& options, int minFiles,
               int maxFiles, ParsedArgs& out, QString& error);

// "tavro VERB: MESSAGE (see tavro VERB --help)" on standard error; returns 2.
int usageError(const char* verb, const QString& message);
// "tavro VERB: MESSAGE" on standard error, one line per message; returns 1.
int dataError(const char* verb, const QString& message);
int dataError(const char* verb, const QStringList& messages);
// "tavro VERB: warning: MESSAGE" on standard error, VERB the one being run.
void warn(const QString& message);
// The verb being run, for warnings given by shared readers.
void setVerb(const char* verb);

// An input text as a message shows it: at most about 200 bytes (cut with "..." and the full
// length), control bytes and invalid text escaped as \n, \t, \xHH.
QString shown(const QString& text);

// Reads a whole file, or standard input for "-"; standard input can be read only once per run.
bool readInput(const QString& path, QByteArray& bytes, QString& error);

// The answer of a verb, built in memory and written in one piece.
class Output {
public:
    void append(const QString& text) { m_text += text.toUtf8(); }
    void append(const char* text) { m_text += text; }
    void printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    const QByteArray& text() const { return m_text; }
    // Writes the text to standard output ("-") or to a temporary file beside path that is then
    // renamed over it; on failure the target is left as it was and error names it.
    bool commit(const QString& path, QString& error) const;

private:
    QByteArray m_text;
};

// Writes bytes as Output::commit does.
bool writeOutput(const QString& path, const QByteArray& bytes, QString& error);

// Removes a temporary output file when the program is interrupted (SIGINT, SIGTERM, SIGHUP).
void installInterruptCleanup();

// Shows the library's progress meter (a label and a position in a range) as a bar on standard
// error when standard error is a terminal; otherwise the meter stays silent.
void installProgressBar();

// The sections that follow every verb's own help.
extern const char* const kCommonHelp;

} // namespace tavro
