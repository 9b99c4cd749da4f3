#include "exportscaledialog.h"

#include "model/grid.h"

#include <QCoreApplication>
#include <QInputDialog>

namespace bitloom {

namespace {

struct ExportScaleDialog {
    Q_DECLARE_TR_FUNCTIONS(ExportScaleDialog)
};

} // namespace

std::optional<int> askExportScale(QWidget* parent)
{
    QStringList items;
    for (const int scale : kExportScales)
        items << ExportScaleDialog::tr("%1 x (%2 x %2 pixels)").arg(scale).arg(scale * kGridSide);
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, ExportScaleDialog::tr("Export Sprite as PNG"),
                                                 ExportScaleDialog::tr("Scale:"), items, 0, false, &ok);
    if (!ok)
        return std::nullopt;
    const auto at = items.indexOf(chosen);
    if (at < 0)
        return std::nullopt;
    return kExportScales[std::size_t(at)];
}

} // namespace bitloom
