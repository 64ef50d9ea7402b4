#include "detailwindowcontroller.h"

#include "solarsystemobjectdetailview.h"
#include "widgettestenvironment.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QUrl>

#include <gtest/gtest.h>

namespace heliora {
namespace {

    std::size_t openWindowCount()
    {
        const QWidgetList all = QApplication::topLevelWidgets();
        return static_cast<std::size_t>(std::count_if(
            all.begin(), all.end(), [](QWidget* w) { return qobject_cast<DetailWindowController*>(w) != nullptr; }));
    }

    class DetailWindow : public ::testing::TestWithParam<SolarSystemObject> {
    protected:
        void TearDown() override
        {
            deleteOpenDetailWindows();
            EXPECT_EQ(openWindowCount(), 0u);
        }
    };

    TEST_P(DetailWindow, IsTitledWithTheNameAndScrollsA400By600Content)
    {
        DetailWindowController* window = openDetailWindow(GetParam());
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->isWindow());
        EXPECT_EQ(window->windowTitle(), localizedName(GetParam()));
        EXPECT_EQ(window->size(), QSize(400, 600));
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
        EXPECT_EQ(window->scrollArea()->geometry(), window->rect());
        const auto* view = qobject_cast<SolarSystemObjectDetailView*>(window->rootView());
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->object(), GetParam());
        EXPECT_LE(view->width(), 400);
        // Content taller than the window scrolls.
        EXPECT_EQ(window->scrollArea()->verticalScrollBar()->maximum() > 0, view->height() > 600);
    }

    TEST_P(DetailWindow, OpeningTwiceGivesTwoWindowsAndClosingFreesOne)
    {
        QPointer<DetailWindowController> first = openDetailWindow(GetParam());
        QPointer<DetailWindowController> second = openDetailWindow(GetParam());
        EXPECT_NE(first, second);
        EXPECT_EQ(openWindowCount(), 2u);
        EXPECT_EQ(first->windowTitle(), second->windowTitle());

        QPointer<QWidget> view = first->rootView();
        EXPECT_TRUE(first->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(first.isNull());
        EXPECT_TRUE(view.isNull());
        ASSERT_FALSE(second.isNull());
        EXPECT_TRUE(second->isVisible());
    }

    INSTANTIATE_TEST_SUITE_P(Bodies, DetailWindow,
        ::testing::Values(SolarSystemObject::sun(), SolarSystemObject::planet(Planet::mercury),
            SolarSystemObject::planet(Planet::venus), SolarSystemObject::planet(Planet::earth)),
        [](const auto& info) { return std::string(info.param.localizationKey()); });

    // Receives the links that the application asks the desktop to open.
    class LinkCatcher : public QObject {
        Q_OBJECT
    public:
        QList<QUrl> opened;
    public slots:
        void open(const QUrl& url) { opened.append(url); }
    };

    TEST(DetailWindowLink, OpensTheBodysFactSheet)
    {
        LinkCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        const SolarSystemObject saturn = SolarSystemObject::planet(Planet::saturn);
        DetailWindowController* window = openDetailWindow(saturn);
        emit window->findChild<QLabel*>(QStringLiteral("source_line"))->linkActivated(QString());
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        deleteOpenDetailWindows();
        EXPECT_EQ(catcher.opened, QList<QUrl> { QUrl(QString::fromStdString(saturn.factSheetURL())) });
    }

} // namespace
} // namespace heliora

#include "detailwindow_test.moc"
