#include "application.h"

#include "fakeseams.h"

#include <gtest/gtest.h>

#include <QEvent>

#include <stdexcept>

namespace wharf {
namespace {

class Thrower : public QObject {
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("Could not copy a to b!");
        if (e->type() == QEvent::User + 1)
            throw 42;
        return QObject::event(e);
    }
};

TEST(WharfApplicationTest, ExceptionsFromHandlersAreShownNotPropagated)
{
    auto *app = qobject_cast<WharfApplication *>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    testing::FakeSeams fake;
    app->setSeams(fake.seams());
    app->setTitle(QStringLiteral("Brindlewharf Professional"));

    Thrower thrower;
    QEvent user(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &user));
    QEvent other(static_cast<QEvent::Type>(QEvent::User + 1));
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &other));
    // Posted events run in the loop; the loop goes on after an exception.
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::processEvents();

    ASSERT_EQ(fake.messages.shown.size(), 3u);
    EXPECT_EQ(fake.messages.shown[0].caption, QStringLiteral("Brindlewharf Professional"));
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("Could not copy a to b!"));
    EXPECT_EQ(fake.messages.shown[1].text, QStringLiteral("Unknown error"));
    EXPECT_EQ(fake.messages.shown[2].text, QStringLiteral("Could not copy a to b!"));
    app->setSeams(standardSeams());
}

} // namespace
} // namespace wharf
