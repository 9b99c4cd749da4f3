#include "recoveryprompt.h"

#include "io/recovery.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace bitloom {

namespace {
QString tr(const char* text)
{
    return QCoreApplication::translate("RecoveryPrompt", text);
}
} // namespace

QString leftWorkTime(const LeftWork& work)
{
    const QDateTime local = work.writtenAt.toLocalTime();
    return local.date() == QDate::currentDate() ? local.toString(QStringLiteral("HH:mm"))
                                                : local.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString leftWorkFile(const LeftWork& work)
{
    return work.originalPath.isEmpty() ? tr("Untitled") : QFileInfo(work.originalPath).fileName();
}

LeftWorkAnswer askAboutLeftWork(QWidget* parent, const LeftWork& work, int more)
{
    QString text = tr("Bitloom closed without saving. Recover the sprites from %1 (%2)?")
                       .arg(leftWorkTime(work), leftWorkFile(work));
    if (more == 1)
        text += tr("\n\n1 more sheet was left unsaved as well.");
    else if (more > 1)
        text += tr("\n\n%1 more sheets were left unsaved as well.").arg(more);
    QMessageBox box(QMessageBox::Question, tr("Bitloom"), text,
                    QMessageBox::Yes | QMessageBox::Discard | QMessageBox::No, parent);
    box.setObjectName(QStringLiteral("recoveryPrompt"));
    box.button(QMessageBox::Yes)->setText(tr("&Recover"));
    box.button(QMessageBox::Discard)->setText(tr("&Discard"));
    box.button(QMessageBox::No)->setText(tr("&Keep for Later"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes: return LeftWorkAnswer::Recover;
    case QMessageBox::Discard: return LeftWorkAnswer::Discard;
    default: return LeftWorkAnswer::KeepForLater;
    }
}

} // namespace bitloom
