#include "importarray.h"

#include "io.h"

#include "codegen/arrayimport.h"
#include "codegen/identifier.h"
#include "io/pngfile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace bitloom::cli {

namespace {
struct Import {
    Q_DECLARE_TR_FUNCTIONS(Import)
};
} // namespace

int importIntoArrayFile(const QString& image, const QString& target, const QString& layoutId,
                        const QString& name)
{
    const QString command = QStringLiteral("import");
    const auto layout = parseLayoutId(layoutId.toStdString());
    if (!layout)
        return usageError(command,
                          Import::tr("unknown layout \"%1\"; the layouts are gb, nes, rows, rows-lsb and "
                                     "columns")
                              .arg(layoutId));
    std::string arrayName = name.toStdString();
    if (arrayName.empty()) {
        arrayName = isStandardStream(image)
                        ? std::string("tiles")
                        : identifierFromStem(QFileInfo(image).completeBaseName().toStdString());
    } else if (checkIdentifier(arrayName).problem != IdentifierProblem::None) {
        return usageError(command, Import::tr("--name \"%1\" is not a C identifier").arg(name));
    }

    std::string text;
    // A pipe or a device is written into as it is and never read.
    if (!isStandardStream(target) && QFileInfo::exists(target) && !isStreamFile(target)) {
        Input input = readCodeText(target);
        if (!input.error.isEmpty()) {
            printFileError(target, input.error);
            return kFailure;
        }
        text = std::move(input.bytes);
    }

    std::optional<TileImport> import = readImageTiles(image);
    if (!import)
        return kFailure;
    std::vector<SourceDrawing> drawings;
    for (Tile& tile : import->tiles)
        drawings.push_back({std::move(tile.name), tile.shades, {}});

    const ArrayImport result = importIntoArray(text, arrayName, *layout, drawings);
    const QString array = QString::fromStdString(arrayName);
    switch (result.outcome) {
    case ArrayImport::Outcome::Rewritten:
    case ArrayImport::Outcome::Appended: break;
    case ArrayImport::Outcome::CountDiffers:
        printFileError(target,
                       Import::tr("the array \"%1\" holds %2 tiles and the image %3; a count is also in "
                                  "defines and comments that import does not rewrite, so nothing was "
                                  "imported")
                           .arg(array)
                           .arg(result.arrayTiles)
                           .arg(drawings.size()));
        return kFailure;
    case ArrayImport::Outcome::NotTiles:
        printFileError(target,
                       Import::tr("the array \"%1\" is not whole 8 x 8 tiles in the layout %2; nothing "
                                  "was imported")
                           .arg(array, layoutId));
        return kFailure;
    case ArrayImport::Outcome::Unreadable:
        printFileError(target, Import::tr("the array \"%1\" cannot be read (%2); nothing was imported")
                                   .arg(array, QString::fromStdString(result.problem)));
        return kFailure;
    }
    applyEdit(text, result.edit);
    if (const QString error = writeOutput(target, text); !error.isEmpty()) {
        printFileError(target, error);
        return kFailure;
    }
    if (import->notGrey > 0)
        printMessage(Import::tr("%1: warning: %2").arg(shownName(image), notGreyText(import->notGrey)));
    if (!result.mappedSprites.empty()) {
        QStringList quoted;
        for (const std::string& sprite : result.mappedSprites)
            quoted << QLatin1Char('"') + QString::fromStdString(sprite) + QLatin1Char('"');
        printMessage(Import::tr("%1: warning: %2 holds white and black only; grey became white and dark grey "
                                "black in %3")
                         .arg(shownName(image), layoutId, quoted.join(QStringLiteral(", "))));
    }
    return kSuccess;
}

} // namespace bitloom::cli
