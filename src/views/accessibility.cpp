#include "views/accessibility.h"

#include "views/bodyimage.h"
#include "views/orreryaccessible.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QTabBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

#include <map>

namespace heliora {

namespace {

    constexpr char hiddenProperty[] = "heliora_accessibilityHidden";
    constexpr char linkProperty[] = "heliora_accessibleLink";

    // Whether assistive technologies see the widget: not hidden, not taken out, and not squeezed to nothing. A
    // widget whose window was never shown still has its first size, so only a shown widget can count as empty.
    bool isShown(const QWidget* widget)
    {
        if (widget->isHidden() || isHiddenFromAccessibility(widget))
            return false;
        return !(widget->isVisible() && widget->size().isEmpty());
    }

    /// A container that lists the children that are shown. Qt's own interface lists every child widget, hidden
    /// ones too; this one asks it for them and skips the rest, at each question, so that what is listed follows
    /// what is shown.
    class ShownChildrenAccessible : public QAccessibleWidget {
    public:
        ShownChildrenAccessible(QWidget* widget, QAccessible::Role role)
            : QAccessibleWidget(widget, role)
        {
        }

        int childCount() const override { return static_cast<int>(shownChildren().size()); }

        QAccessibleInterface* child(int index) const override
        {
            const QList<QAccessibleInterface*> shown = shownChildren();
            return index >= 0 && index < shown.size() ? shown[index] : nullptr;
        }

        int indexOfChild(const QAccessibleInterface* child) const override
        {
            return static_cast<int>(shownChildren().indexOf(const_cast<QAccessibleInterface*>(child)));
        }

    private:
        QList<QAccessibleInterface*> shownChildren() const
        {
            QList<QAccessibleInterface*> shown;
            const int all = QAccessibleWidget::childCount();
            for (int i = 0; i < all; ++i) {
                QAccessibleInterface* child = QAccessibleWidget::child(i);
                if (!child)
                    continue;
                const QObject* object = child->object();
                if (object && object->isWidgetType() && !isShown(static_cast<const QWidget*>(object)))
                    continue;
                shown.append(child);
            }
            return shown;
        }
    };

    // A tab's text as read: "&&" is an ampersand, a single "&" only marks the key that picks the tab.
    QString withoutMnemonic(const QString& text)
    {
        QString plain;
        plain.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] != u'&')
                plain += text[i];
            else if (i + 1 < text.size() && text[i + 1] == u'&')
                plain += text[++i];
        }
        return plain;
    }

    QString tabName(const QTabBar* bar, int index)
    {
        const QString name = bar->accessibleTabName(index);
        return name.isEmpty() ? withoutMnemonic(bar->tabText(index)) : name;
    }

    /// One tab of a tab bar: a page tab that is selected while its page is shown, and pressed to show it.
    class PageTabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
    public:
        PageTabAccessible(QTabBar* bar, int index)
            : m_bar(bar)
            , m_index(index)
        {
        }

        bool isValid() const override { return m_bar && m_index < m_bar->count(); }
        QObject* object() const override { return nullptr; }
        QWindow* window() const override
        {
            QAccessibleInterface* owner = parent();
            return owner ? owner->window() : nullptr;
        }
        QAccessibleInterface* focusChild() const override { return nullptr; }
        QAccessibleInterface* childAt(int, int) const override { return nullptr; }
        QAccessibleInterface* parent() const override
        {
            return m_bar ? QAccessible::queryAccessibleInterface(m_bar.data()) : nullptr;
        }
        QAccessibleInterface* child(int) const override { return nullptr; }
        int childCount() const override { return 0; }
        int indexOfChild(const QAccessibleInterface*) const override { return -1; }

        QString text(QAccessible::Text t) const override
        {
            if (!isValid())
                return {};
            if (t == QAccessible::Name)
                return tabName(m_bar, m_index);
            if (t == QAccessible::Description)
                return m_bar->tabToolTip(m_index);
            return {};
        }
        void setText(QAccessible::Text, const QString&) override { }

        QRect rect() const override
        {
            if (!isValid())
                return {};
            const QRect tab = m_bar->tabRect(m_index);
            return QRect(m_bar->mapToGlobal(tab.topLeft()), tab.size());
        }

        QAccessible::Role role() const override { return QAccessible::PageTab; }

        QAccessible::State state() const override
        {
            QAccessible::State state;
            if (!isValid()) {
                state.invalid = true;
                return state;
            }
            const bool current = m_bar->currentIndex() == m_index;
            state.selectable = true;
            state.selected = current;
            state.focusable = m_bar->focusPolicy() != Qt::NoFocus;
            state.focused = current && m_bar->hasFocus();
            state.disabled = !m_bar->isEnabled() || !m_bar->isTabEnabled(m_index);
            state.invisible = !m_bar->isVisible() || !m_bar->isTabVisible(m_index);
            return state;
        }

        void* interface_cast(QAccessible::InterfaceType type) override
        {
            return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
        }

        QStringList actionNames() const override { return { pressAction() }; }
        void doAction(const QString& actionName) override
        {
            if (actionName == pressAction() && isValid())
                m_bar->setCurrentIndex(m_index);
        }
        QStringList keyBindingsForAction(const QString&) const override { return {}; }

    private:
        QPointer<QTabBar> m_bar;
        int m_index;
    };

    /// A tab bar: its tabs, in order, then its scroll buttons while they are shown (Qt's interface always lists
    /// both, hidden or not).
    class PageTabListAccessible : public QAccessibleWidget {
    public:
        explicit PageTabListAccessible(QTabBar* bar)
            : QAccessibleWidget(bar, QAccessible::PageTabList)
        {
        }

        ~PageTabListAccessible() override
        {
            // The tabs' interfaces are registered in Qt's cache, which would otherwise keep them after the bar dies.
            for (const auto& [index, id] : m_tabs)
                QAccessible::deleteAccessibleInterface(id);
        }

        int childCount() const override { return bar()->count() + static_cast<int>(shownButtons().size()); }

        QAccessibleInterface* child(int index) const override
        {
            const int tabs = bar()->count();
            if (index < 0)
                return nullptr;
            if (index < tabs)
                return tab(index);
            const QList<QAbstractButton*> buttons = shownButtons();
            return index - tabs < buttons.size() ? QAccessible::queryAccessibleInterface(buttons[index - tabs])
                                                 : nullptr;
        }

        int indexOfChild(const QAccessibleInterface* child) const override
        {
            if (const auto* pageTab = dynamic_cast<const PageTabAccessible*>(child)) {
                for (const auto& [index, id] : m_tabs) {
                    if (QAccessible::accessibleInterface(id) == pageTab)
                        return index < bar()->count() ? index : -1;
                }
                return -1;
            }
            const auto* button = child ? qobject_cast<QAbstractButton*>(child->object()) : nullptr;
            const qsizetype at = shownButtons().indexOf(button);
            return at < 0 ? -1 : bar()->count() + static_cast<int>(at);
        }

        QString text(QAccessible::Text t) const override
        {
            if (t == QAccessible::Name && bar()->currentIndex() >= 0)
                return tabName(bar(), bar()->currentIndex());
            return QAccessibleWidget::text(t);
        }

    private:
        QTabBar* bar() const { return static_cast<QTabBar*>(widget()); }

        QAccessibleInterface* tab(int index) const
        {
            return keptInterface(m_tabs, index, [&] { return new PageTabAccessible(bar(), index); });
        }

        QList<QAbstractButton*> shownButtons() const
        {
            QList<QAbstractButton*> buttons;
            for (QAbstractButton* button : bar()->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
                if (isShown(button))
                    buttons.append(button);
            }
            return buttons;
        }

        mutable std::map<int, QAccessible::Id> m_tabs;
    };

    /// A label holding links, as one link. Its actions open the links in the order of the text, as clicks on them
    /// do: through the label's linkActivated, or the desktop when the label opens its links itself.
    class LinkLabelAccessible : public QAccessibleWidget {
    public:
        explicit LinkLabelAccessible(QLabel* label)
            : QAccessibleWidget(label, QAccessible::Link)
        {
        }

        QString text(QAccessible::Text t) const override
        {
            const QString text = QAccessibleWidget::text(t);
            if (t != QAccessible::Name || !text.isEmpty())
                return text;
            QTextDocument document;
            document.setHtml(label()->text());
            return document.toPlainText().simplified();
        }

        QAccessible::State state() const override
        {
            QAccessible::State state = QAccessibleWidget::state();
            state.linked = true;
            return state;
        }

        QStringList actionNames() const override
        {
            QStringList names;
            const QList<Link> all = links();
            for (qsizetype i = 0; i < all.size(); ++i)
                names.append(i == 0 ? pressAction() : all[i].text);
            return names + QAccessibleWidget::actionNames();
        }

        QString localizedActionName(const QString& actionName) const override
        {
            return actionName == pressAction() || !isLink(actionName)
                ? QAccessibleWidget::localizedActionName(actionName)
                : actionName;
        }

        QString localizedActionDescription(const QString& actionName) const override
        {
            return isLink(actionName) && actionName != pressAction()
                ? actionName
                : QAccessibleWidget::localizedActionDescription(actionName);
        }

        void doAction(const QString& actionName) override
        {
            const QList<Link> all = links();
            for (qsizetype i = 0; i < all.size(); ++i) {
                if (actionName == (i == 0 ? pressAction() : all[i].text)) {
                    open(all[i].href);
                    return;
                }
            }
            QAccessibleWidget::doAction(actionName);
        }

        QStringList keyBindingsForAction(const QString& actionName) const override
        {
            return isLink(actionName) ? QStringList {} : QAccessibleWidget::keyBindingsForAction(actionName);
        }

    private:
        struct Link {
            QString text;
            QString href;
        };

        QLabel* label() const { return static_cast<QLabel*>(widget()); }

        // The label's links in the order of its text; neighbouring pieces of one link are one link.
        QList<Link> links() const
        {
            QList<Link> found;
            QTextDocument document;
            document.setHtml(label()->text());
            QString previous;
            for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
                for (auto it = block.begin(); !it.atEnd(); ++it) {
                    const QTextFragment fragment = it.fragment();
                    const QString href
                        = fragment.charFormat().isAnchor() ? fragment.charFormat().anchorHref() : QString();
                    if (!href.isEmpty() && href == previous)
                        found.last().text += fragment.text();
                    else if (!href.isEmpty())
                        found.append({ fragment.text(), href });
                    previous = href;
                }
            }
            for (Link& link : found)
                link.text = link.text.simplified();
            return found;
        }

        bool isLink(const QString& actionName) const
        {
            const QList<Link> all = links();
            for (qsizetype i = 0; i < all.size(); ++i) {
                if (actionName == (i == 0 ? pressAction() : all[i].text))
                    return true;
            }
            return false;
        }

        void open(const QString& href) const
        {
            if (label()->openExternalLinks())
                QDesktopServices::openUrl(QUrl(href));
            else
                emit label()->linkActivated(href);
        }
    };

    // Asked once per class up each object's hierarchy, most derived first, before Qt's own factory: answering for
    // a Qt class only where Qt would otherwise answer with its general interface.
    QAccessibleInterface* factory(const QString& className, QObject* object)
    {
        if (!object || !object->isWidgetType())
            return nullptr;
        auto* widget = static_cast<QWidget*>(object);
        if (className == QLatin1String("QLabel"))
            return widget->property(linkProperty).toBool() ? new LinkLabelAccessible(static_cast<QLabel*>(widget))
                                                           : nullptr;
        if (className == QLatin1String(BodyImage::staticMetaObject.className()))
            return new QAccessibleWidget(widget, QAccessible::Graphic);
        if (className == QLatin1String("QTabBar"))
            return new PageTabListAccessible(static_cast<QTabBar*>(widget));
        if (className == QLatin1String("QToolBar"))
            return new ShownChildrenAccessible(widget, QAccessible::ToolBar);
        if (className == QLatin1String("QStackedWidget"))
            return new ShownChildrenAccessible(widget, QAccessible::LayeredPane);
        if (className == QLatin1String("QFrame")) {
            const QFrame::Shape shape = static_cast<QFrame*>(widget)->frameShape();
            return shape == QFrame::HLine || shape == QFrame::VLine
                ? new QAccessibleWidget(widget, QAccessible::Separator)
                : nullptr;
        }
        if (className == QLatin1String("QWidget"))
            return new ShownChildrenAccessible(widget, widget->isWindow() ? QAccessible::Window : QAccessible::Client);
        return nullptr;
    }

} // namespace

void installAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(orreryAccessibleFactory);
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

void hideFromAccessibility(QWidget* widget)
{
    installAccessibleInterfaces();
    if (widget)
        widget->setProperty(hiddenProperty, true);
}

bool isHiddenFromAccessibility(const QWidget* widget) { return widget && widget->property(hiddenProperty).toBool(); }

void presentAsLink(QLabel* label, const QString& name)
{
    installAccessibleInterfaces();
    if (!label)
        return;
    label->setProperty(linkProperty, true);
    // Qt makes a label's interface as soon as its text is set; one made before the mark is dropped, so that the
    // next question makes the link.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(label);
    if (made && !dynamic_cast<LinkLabelAccessible*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    label->setAccessibleName(name);
}

QAccessibleInterface* keptInterface(
    std::map<int, QAccessible::Id>& kept, int key, const std::function<QAccessibleInterface*()>& make)
{
    if (const auto it = kept.find(key); it != kept.end()) {
        if (QAccessibleInterface* existing = QAccessible::accessibleInterface(it->second))
            return existing;
    }
    QAccessibleInterface* created = make();
    kept[key] = QAccessible::registerAccessibleInterface(created);
    return created;
}

} // namespace heliora
