// A program that holds the single-instance guard: prints "primary" once it
// runs, "raised" each time a later start greets it, and ends when its input
// closes.
#include "shell/singleapplication.h"

#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[])
{
    SingleApplication app(argc, argv, false, SingleApplication::PerUser, 100);
    std::printf("primary\n");
    std::fflush(stdout);
    QObject::connect(&app, &SingleApplication::instanceStarted, []() {
        std::printf("raised\n");
        std::fflush(stdout);
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&]() {
        char c;
        if (::read(STDIN_FILENO, &c, 1) <= 0)
            app.quit();
    });
    return app.exec();
}
