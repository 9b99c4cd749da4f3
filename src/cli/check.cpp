#include "commands.h"
#include "io.h"

#include "codegen/declaration.h"
#include "codegen/diagnostics.h"
#include "codegen/grammar.h"
#include "codegen/reader.h"
#include "codegen/tilearrays.h"
#include "model/spritetable.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <limits>

namespace bitloom::cli {

namespace {

struct Check {
    Q_DECLARE_TR_FUNCTIONS(Check)
};

// A name as a message shows it: never more than 80 bytes of the text, so that
// a declaration that runs on for megabytes is not printed whole.
QString nameOf(const Diagnostic& diagnostic)
{
    return QString::fromStdString(grammar::shortName(diagnostic.name));
}

QString declarationName(const Diagnostic& diagnostic)
{
    return nameOf(diagnostic)
           + (diagnostic.plane == Plane::Light ? QStringLiteral("light") : QStringLiteral("dark"));
}

QString identifierReason(const IdentifierCheck& check)
{
    switch (check.problem) {
    case IdentifierProblem::None: break;
    case IdentifierProblem::Empty: return Check::tr("it is empty");
    case IdentifierProblem::LeadingDigit: return Check::tr("it begins with a digit");
    case IdentifierProblem::BadCharacter:
        return Check::tr("it holds \"%1\"").arg(QString::fromStdString(check.character));
    case IdentifierProblem::Keyword: return Check::tr("it is a keyword of C");
    }
    return {};
}

QString describe(const Diagnostic& diagnostic)
{
    const QString name = nameOf(diagnostic);
    const QString reason = QString::fromStdString(diagnostic.reason);
    switch (diagnostic.kind) {
    case DiagnosticKind::UnreadableDeclaration:
        return (diagnostic.plane == Plane::Light
                    ? Check::tr("the bytes of %1 cannot all be read (%2); it is not opened")
                    : Check::tr("the bytes of %1 cannot all be read (%2); its dark rows are taken as 0"))
            .arg(declarationName(diagnostic), reason);
    case DiagnosticKind::DeclaredTwice:
        return Check::tr("%1 is declared again; the declaration on line %2 is the one read")
            .arg(declarationName(diagnostic), QString::number(diagnostic.otherLine));
    case DiagnosticKind::BeyondTable:
        return Check::tr("sprite \"%1\" is beyond the %2 the sprite table holds; it is not opened")
            .arg(name, QString::number(kSpriteTableSize));
    case DiagnosticKind::MissingDark:
        return Check::tr("%1 has no dark declaration; its dark rows are taken as 0")
            .arg(declarationName(diagnostic));
    case DiagnosticKind::MissingLight:
        return Check::tr("%1 has no light declaration; it is not opened").arg(declarationName(diagnostic));
    case DiagnosticKind::NotIdentifier:
        return Check::tr("\"%1\" is not a C identifier: %2")
            .arg(name, identifierReason(diagnostic.identifier));
    case DiagnosticKind::NotPlane:
        return Check::tr("%1 is not read as a sprite plane: %2").arg(declarationName(diagnostic), reason);
    }
    return {};
}

} // namespace

DiagnosticReport diagnosticReport(const QString& path, std::string_view text, const LayoutChooser& choose)
{
    DiagnosticReport report;
    const QString file = shownName(path);
    const std::vector<grammar::ByteArray> scanned = grammar::scanByteArrays(text);
    const TileArrays tiles = readTileArrays(text, scanned, choose);
    report.tileArrays = int(tiles.arrays.size());

    // Arrays that fit no layout, by line: they come in text order, and so
    // do the readable arrays of the scan they are among.
    std::vector<std::pair<int, QString>> noLayout;
    auto next = scanned.begin();
    for (const std::string& name : tiles.fitsNoLayout) {
        next = std::find_if(next, scanned.end(), [&](const grammar::ByteArray& array) {
            return array.readable && array.name == name;
        });
        const int line = next != scanned.end() ? next++->line : 1;
        noLayout.emplace_back(line, QString::fromStdString(fitsNoLayoutWarning(grammar::shortName(name))));
    }

    auto warning = noLayout.begin();
    const auto addWarningsBefore = [&](int line) {
        for (; warning != noLayout.end() && warning->first < line; ++warning)
            report.text +=
                Check::tr("%1:%2: warning: %3\n").arg(file, QString::number(warning->first), warning->second);
    };
    for (const Diagnostic& diagnostic : diagnose(text)) {
        addWarningsBefore(diagnostic.line + 1);
        const bool error = severityOf(diagnostic.kind) == Severity::Error;
        report.errors = report.errors || error;
        report.text += (error ? Check::tr("%1:%2: error: %3\n") : Check::tr("%1:%2: warning: %3\n"))
                           .arg(file, QString::number(diagnostic.line), describe(diagnostic));
    }
    addWarningsBefore(std::numeric_limits<int>::max());
    return report;
}

QString checkHelp()
{
    return Check::tr("Usage: bitloom check [--layout ID|NAME=ID[:WIDTH]]... FILE...\n"
                     "Reads the C files as Open does and prints each problem as a compiler would,\n"
                     "FILE:LINE: error: ... or FILE:LINE: warning: ..., on standard output. Byte\n"
                     "arrays that look like bitmap data but fit no layout are warned about, and so\n"
                     "is a file with no sprites or tiles (FILE: warning: ...).\n"
                     "\"-\" reads standard input. "
                     "Exits with 0 when there are no errors (warnings allowed),\n"
                     "1 with errors and 2 for a usage error.\n"
                     "\n"
                     "  --layout ID Reads byte arrays in the layout ID, as show does.\n"
                     "  -h, --help  Shows this help.\n");
}

int runCheck(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption layout = layoutOption();
    parser.addOption(layout);
    if (const auto stop = parseCommand(parser, QStringLiteral("check"), arguments, checkHelp()))
        return *stop;
    LayoutChooser chooser;
    if (const auto stop = layoutChooser(parser, layout, QStringLiteral("check"), chooser))
        return *stop;
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return usageError(QStringLiteral("check"), Check::tr("no file given"));

    int status = kSuccess;
    for (const QString& path : files) {
        const Input input = readCodeText(path);
        if (!input.error.isEmpty()) {
            printResult(Check::tr("%1: error: %2\n").arg(shownName(path), input.error).toStdString());
            status = kFailure;
            continue;
        }
        DiagnosticReport report = diagnosticReport(path, input.bytes, chooser);
        if (report.errors)
            status = kFailure;
        // Not an error: a header may hold other things alone, and a file
        // can be started empty. It is said last, after what could not be read.
        if (report.tileArrays == 0 && readDeclarations(input.bytes).empty())
            report.text += Check::tr("%1: warning: no sprites or tiles found\n").arg(shownName(path));
        // The diagnostics are this command's result: standard output, so
        // that they can be kept, filtered and compared.
        printResult(report.text.toStdString());
    }
    return status;
}

} // namespace bitloom::cli
