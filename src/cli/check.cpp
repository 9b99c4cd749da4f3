#include "commands.h"
#include "io.h"

#include "codegen/declaration.h"
#include "codegen/diagnostics.h"
#include "codegen/grammar.h"
#include "model/spritetable.h"

#include <QCommandLineParser>
#include <QCoreApplication>

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

DiagnosticReport diagnosticReport(const QString& path, std::string_view text)
{
    DiagnosticReport report;
    for (const Diagnostic& diagnostic : diagnose(text)) {
        const bool error = severityOf(diagnostic.kind) == Severity::Error;
        report.errors = report.errors || error;
        report.text += (error ? Check::tr("%1:%2: error: %3\n") : Check::tr("%1:%2: warning: %3\n"))
                           .arg(shownName(path), QString::number(diagnostic.line), describe(diagnostic));
    }
    return report;
}

QString checkHelp()
{
    return Check::tr("Usage: bitloom check FILE...\n"
                     "Reads the C files as Open does and prints each problem as a compiler would,\n"
                     "FILE:LINE: error: ... or FILE:LINE: warning: ..., on standard output.\n"
                     "\"-\" reads standard input. "
                     "Exits with 0 when there are no errors (warnings allowed),\n"
                     "1 with errors and 2 for a usage error.\n"
                     "\n"
                     "  -h, --help  Shows this help.\n");
}

int runCheck(const QStringList& arguments)
{
    QCommandLineParser parser;
    if (const auto stop = parseCommand(parser, QStringLiteral("check"), arguments, checkHelp()))
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
        const DiagnosticReport report = diagnosticReport(path, input.bytes);
        if (report.errors)
            status = kFailure;
        // The diagnostics are this command's result: standard output, so
        // that they can be kept, filtered and compared.
        printResult(report.text.toStdString());
    }
    return status;
}

} // namespace bitloom::cli
