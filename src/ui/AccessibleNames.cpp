#include "AccessibleNames.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QStringList>

namespace {

const char PurposeProperty[] = "kotobanAccessiblePurpose";
const char LinkProperty[] = "kotobanAccessibleLink";

// Qt's own interface for a label reads its accessible name instead of its text once a name
// is set, which would hide a count behind the word "文字数". This one reads both.
class ValueLabelAccessible : public QAccessibleWidget {
public:
    explicit ValueLabelAccessible(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const QString purpose = widget()->property(PurposeProperty).toString();
        const QString value = static_cast<const QLabel *>(widget())->text().trimmed();
        return value.isEmpty() ? purpose : purpose + u'：' + value;
    }
};

class LinkLabelAccessible : public QAccessibleWidget {
public:
    explicit LinkLabelAccessible(QLabel *label) : QAccessibleWidget(label, QAccessible::Link) {}

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &actionName) override
    {
        // A hidden link is not there for the user either.
        if (actionName == pressAction() && widget()->isVisible() && widget()->isEnabled())
            QMetaObject::invokeMethod(widget(), "clicked");
    }
};

QAccessibleInterface *labelInterfaces(const QString &, QObject *object)
{
    auto *label = qobject_cast<QLabel *>(object);
    if (!label)
        return nullptr;
    if (label->property(PurposeProperty).isValid())
        return new ValueLabelAccessible(label);
    if (label->property(LinkProperty).toBool())
        return new LinkLabelAccessible(label);
    return nullptr;
}

// Installed with the first window that names its labels, after QApplication has installed
// the factory of Qt's own widgets, so that this one is asked first.
void installLabelInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(labelInterfaces);
        return true;
    }();
    Q_UNUSED(installed);
}

// A screen reader that was already listening while the window was built may have had Qt
// make its own interface for the label; that one is dropped so that the next question
// gets ours.
template<typename Interface>
void replaceQtInterface(QLabel *label)
{
    QAccessibleInterface *existing = QAccessible::queryAccessibleInterface(label);
    if (existing && !dynamic_cast<Interface *>(existing))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
}

} // namespace

void nameControl(QWidget *widget, const QString &name, const QString &description)
{
    widget->setAccessibleName(name);
    if (!description.isEmpty())
        widget->setAccessibleDescription(description);
}

void nameControls(QWidget *window, std::initializer_list<AccessibleName> table)
{
    for (const AccessibleName &entry : table)
        if (auto *widget = window->findChild<QWidget *>(QLatin1String(entry.objectName)))
            nameControl(widget, entry.name, entry.description);
}

void nameControls(std::initializer_list<ControlName> table)
{
    for (const ControlName &entry : table)
        nameControl(entry.widget, entry.name, entry.description);
}

void nameValueLabel(QLabel *label, const QString &purpose, const QString &description)
{
    installLabelInterfaces();
    label->setProperty(PurposeProperty, purpose);
    label->setAccessibleDescription(description);
    replaceQtInterface<ValueLabelAccessible>(label);
}

void nameLinkLabel(QLabel *label, const QString &name, const QString &description)
{
    installLabelInterfaces();
    label->setProperty(LinkProperty, true);
    nameControl(label, name, description);
    replaceQtInterface<LinkLabelAccessible>(label);
}
