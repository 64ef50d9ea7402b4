#include "detailwindowcontroller.h"

#include "solarsystemobjectdetailview.h"
#include "widgettestenvironment.h"

#include <QAction>
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

    std::vector<DetailWindowController*> openDetailWindows()
    {
        std::vector<DetailWindowController*> windows;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<DetailWindowController*>(widget))
                windows.push_back(window);
        }
        return windows;
    }

    class DetailWindow : public ::testing::Test {
    protected:
        void TearDown() override
        {
            deleteOpenDetailWindows();
            EXPECT_TRUE(openDetailWindows().empty());
        }
    };

    class BodyWindow : public DetailWindow, public ::testing::WithParamInterface<SolarSystemObject> { };

    TEST_P(BodyWindow, IsTitledWithTheNameAndHasAFixedContentArea)
    {
        DetailWindowController* window = openDetailWindow(GetParam());
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->isWindow());
        EXPECT_EQ(window->windowTitle(), localizedName(GetParam()));
        EXPECT_EQ(window->size(), QSize(400, 600));
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
        // The scrolling area is the whole content, and it scrolls the fact view.
        EXPECT_EQ(window->scrollArea()->geometry(), window->rect());
        const auto* view = qobject_cast<SolarSystemObjectDetailView*>(window->rootView());
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->object(), GetParam());
        // The view never gets wider than the window, so nothing scrolls sideways.
        EXPECT_LE(view->width(), 400);
        EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
    }

    INSTANTIATE_TEST_SUITE_P(Bodies, BodyWindow,
        ::testing::Values(SolarSystemObject::sun(), SolarSystemObject::planet(Planet::mercury),
            SolarSystemObject::planet(Planet::venus), SolarSystemObject::planet(Planet::earth)),
        [](const auto& info) { return std::string(info.param.localizationKey()); });

    TEST_F(DetailWindow, VenusNeedsToScroll)
    {
        DetailWindowController* window = openDetailWindow(SolarSystemObject::planet(Planet::venus));
        EXPECT_GT(window->rootView()->height(), 600);
        EXPECT_GT(window->scrollArea()->verticalScrollBar()->maximum(), 0);
    }

    TEST_F(DetailWindow, OpeningTheSameBodyTwiceGivesTwoWindows)
    {
        const SolarSystemObject mars = SolarSystemObject::planet(Planet::mars);
        DetailWindowController* first = openDetailWindow(mars);
        DetailWindowController* second = openDetailWindow(mars);
        EXPECT_NE(first, second);
        EXPECT_EQ(openDetailWindows().size(), 2u);
        EXPECT_EQ(first->windowTitle(), second->windowTitle());
        EXPECT_TRUE(first->isVisible());
        EXPECT_TRUE(second->isVisible());
    }

    TEST_F(DetailWindow, ClosingFreesThatWindowAlone)
    {
        QPointer<DetailWindowController> closed = openDetailWindow(SolarSystemObject::sun());
        QPointer<DetailWindowController> kept = openDetailWindow(SolarSystemObject::sun());
        QPointer<QWidget> view = closed->rootView();
        EXPECT_TRUE(closed->close());
        test::processDeferredDeletes();
        EXPECT_TRUE(closed.isNull());
        EXPECT_TRUE(view.isNull());
        ASSERT_FALSE(kept.isNull());
        EXPECT_TRUE(kept->isVisible());
    }

    TEST_F(DetailWindow, CloseShortcutClosesTheWindow)
    {
        QPointer<DetailWindowController> window = openDetailWindow(SolarSystemObject::planet(Planet::jupiter));
        QAction* close = nullptr;
        for (QAction* action : window->actions()) {
            if (action->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W)))
                close = action;
        }
        ASSERT_NE(close, nullptr);
        close->trigger();
        test::processDeferredDeletes();
        EXPECT_TRUE(window.isNull());
    }

    TEST_F(DetailWindow, WindowsStillOpenAtQuitAreDeleted)
    {
        QPointer<DetailWindowController> a = openDetailWindow(SolarSystemObject::planet(Planet::uranus));
        QPointer<DetailWindowController> b = openDetailWindow(SolarSystemObject::planet(Planet::neptune));
        deleteOpenDetailWindows();
        EXPECT_TRUE(a.isNull());
        EXPECT_TRUE(b.isNull());
    }

    TEST_F(DetailWindow, GermanTitle)
    {
        const test::ScopedLanguage german("de_DE.UTF-8");
        EXPECT_EQ(openDetailWindow(SolarSystemObject::sun())->windowTitle(), QStringLiteral("Sonne"));
        EXPECT_EQ(
            openDetailWindow(SolarSystemObject::planet(Planet::mercury))->windowTitle(), QStringLiteral("Merkur"));
    }

    // Receives the links that the application asks the desktop to open.
    class LinkCatcher : public QObject {
        Q_OBJECT
    public:
        QList<QUrl> opened;
    public slots:
        void open(const QUrl& url) { opened.append(url); }
    };

    TEST_F(DetailWindow, SourceLinkOpensTheFactSheet)
    {
        LinkCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        const SolarSystemObject saturn = SolarSystemObject::planet(Planet::saturn);
        DetailWindowController* window = openDetailWindow(saturn);
        auto* source = window->findChild<QLabel*>(QStringLiteral("source_line"));
        ASSERT_NE(source, nullptr);
        emit source->linkActivated(QStringLiteral("https://example.invalid/"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        ASSERT_EQ(catcher.opened.size(), 1);
        EXPECT_EQ(catcher.opened.front(), QUrl(QString::fromStdString(saturn.factSheetURL())));
    }

} // namespace
} // namespace heliora

#include "detailwindow_test.moc"
