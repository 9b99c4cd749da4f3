#include "accessiblevalue.h"

#include "cellwidget.h"
#include "toolimage.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace bitloom {

namespace {

constexpr char kValueProperty[] = "bitloomAccessibleValue";

class ValuedWidgetAccessible final : public QAccessibleWidget {
public:
    ValuedWidgetAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return widget()->property(kValueProperty).toString();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* editorControlFactory(const QString&, QObject* object)
{
    if (auto* cell = qobject_cast<CellWidget*>(object)) {
        const bool palette = cell->frame() == CellWidget::Frame::Sunken;
        return new ValuedWidgetAccessible(cell, palette ? QAccessible::RadioButton : QAccessible::Button);
    }
    if (auto* image = qobject_cast<ToolImage*>(object))
        return new ValuedWidgetAccessible(image, QAccessible::Button);
    return nullptr;
}

} // namespace

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(editorControlFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void setAccessibleValue(QWidget* widget, const QString& value)
{
    if (widget->property(kValueProperty).toString() == value)
        return;
    widget->setProperty(kValueProperty, value);
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(widget, value);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace bitloom
