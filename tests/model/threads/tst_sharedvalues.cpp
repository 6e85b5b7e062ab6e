// The GUI thread and the core thread read and write the process-wide values
// at the same time: the credentials after sign-in, the version, and the
// user's preferences. Under ThreadSanitizer any unguarded access fails the
// run; without it the test still checks that no reader ever sees a value
// that was never written, or one torn between two writes.
//
// A plain program rather than a QtTest one: the test library's watchdog
// thread hands its state over through Qt code built without
// ThreadSanitizer, which it would report.

#include "model/globalconstants.h"

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace {
const int kRounds = 4000;

QString token(int i)
{
    return QStringLiteral("token-%1-").arg(i) + QString(i % 7 * 16, QLatin1Char('x'));
}

// A preferences value whose fields all follow from one number, so a mix of
// two writes shows.
MainSettings settings(int i)
{
    MainSettings value;
    value.setInterfaceScaleFactor(100 + i % 100);
    value.setChatBackgroundPath(QStringLiteral("/backgrounds/%1.png").arg(i % 100));
    value.setNotificationsEnabled(i % 2 == 0);
    return value;
}

bool consistent(const MainSettings& value)
{
    const int i = value.getInterfaceScaleFactor() - 100;
    return i >= 0 && i < 100 &&
           value.getChatBackgroundPath() == QStringLiteral("/backgrounds/%1.png").arg(i) &&
           value.getNotificationsEnabled() == (i % 2 == 0);
}
} // namespace

int main()
{
    GlobalConstants::setToken(token(0));
    GlobalConstants::setUserName(QStringLiteral("u0"));
    GlobalConstants::setAppVersion(QStringLiteral("1.0.0"));
    GlobalConstants::setMainSettings(settings(0));

    std::atomic<int> torn{0};
    std::atomic<bool> writing{true};
    std::vector<std::thread> threads;
    // Writers, as the core thread does after loading and on each change.
    for (int w = 0; w < 2; ++w) {
        threads.emplace_back([w] {
            for (int i = w; i < kRounds; i += 2) {
                GlobalConstants::setToken(token(i));
                GlobalConstants::setUserName(QStringLiteral("u%1").arg(i));
                GlobalConstants::setHashMethod(i % 2 ? QStringLiteral("SHA256")
                                                     : QStringLiteral("SHA1"));
                GlobalConstants::setAppVersion(QStringLiteral("1.%1.%2").arg(i % 10).arg(i));
                GlobalConstants::setMainSettings(settings(i));
            }
        });
    }
    // Readers, as the GUI's services and the core's managers do.
    for (int r = 0; r < 2; ++r) {
        threads.emplace_back([&torn, &writing] {
            while (writing) {
                const QString t = GlobalConstants::getToken();
                const int i = t.section(QLatin1Char('-'), 1, 1).toInt();
                if (t != token(i))
                    ++torn;
                if (!GlobalConstants::getUserName().startsWith(QLatin1Char('u')))
                    ++torn;
                if (GlobalConstants::getMajorVersion() != 1 ||
                    GlobalConstants::getMinorVersion() < 0)
                    ++torn;
                if (!consistent(GlobalConstants::getMainSettings()))
                    ++torn;
                GlobalConstants::getHashMethod();
            }
        });
    }
    threads[0].join();
    threads[1].join();
    writing = false;
    threads[2].join();
    threads[3].join();

    int failed = 0;
    const auto check = [&failed](bool ok, const char* what) {
        if (!ok) {
            std::fprintf(stderr, "FAIL: %s\n", what);
            ++failed;
        }
    };
    check(torn.load() == 0, "a reader saw a value that was never written whole");
    check(GlobalConstants::getToken() == token(kRounds - 1) ||
              GlobalConstants::getToken() == token(kRounds - 2),
          "the last token written is kept");
    check(consistent(GlobalConstants::getMainSettings()), "the last settings written are kept");
    std::printf("%d passed, %d failed\n", 3 - failed, failed);
    return failed == 0 ? 0 : 1;
}
