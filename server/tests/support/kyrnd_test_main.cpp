// The server tests run on an event loop without any display, the one
// kyrnd itself runs on.
#include "epolldispatcher.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication::setEventDispatcher(new EpollDispatcher);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
