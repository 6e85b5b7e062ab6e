// quorvel-localservice: the stand-in for the messaging service on one machine.

#include "foundation/simpleqtlogger.h"
#include "localstack.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT end the event loop, so the stack stops in order.
void quitOnSignals(QCoreApplication* app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, app, [app] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(signalPipe[0], &byte, 1);
        app->quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void startLogger()
{
    using simpleqtlogger::LogSinks;
    LogSinks::ENABLE_LOG_SINK_FILE = false;
    LogSinks::ENABLE_LOG_SINK_CONSOLE = true;
    LogSinks::ENABLE_FUNCTION_STACK_TRACE = false;
    LogSinks::ENABLE_LOG_LEVELS.logLevel_DEBUG = false;
    LogSinks::ENABLE_LOG_LEVELS.logLevel_FUNCTION = false;
    simpleqtlogger::SimpleQtLogger::createInstance(qApp);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-localservice"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A stand-in for the messaging service on 127.0.0.1, with its chat server."));
    parser.addHelpOption();
    const QCommandLineOption folder(QStringLiteral("data"),
                                    QStringLiteral("The stack's folder (state, certificates)."),
                                    QStringLiteral("folder"));
    const QCommandLineOption demoCode(QStringLiteral("demo-code"),
                                      QStringLiteral("The activation code every sign-up gets."),
                                      QStringLiteral("code"));
    const QCommandLineOption webPort(QStringLiteral("web-port"),
                                     QStringLiteral("The web service's port (first start only)."),
                                     QStringLiteral("port"));
    const QCommandLineOption chatPort(QStringLiteral("chat-port"),
                                      QStringLiteral("The chat server's port (first start only)."),
                                      QStringLiteral("port"));
    const QCommandLineOption noChat(QStringLiteral("no-chat"),
                                    QStringLiteral("Serve the web service alone."));
    parser.addOptions({folder, demoCode, webPort, chatPort, noChat});
    parser.process(app);
    if (!parser.isSet(folder)) {
        parser.showHelp(2);
    }

    startLogger();
    quitOnSignals(&app);

    LocalStack::Options options;
    options.folder = parser.value(folder);
    options.demoCode = parser.value(demoCode);
    options.webPort = parser.value(webPort).toInt();
    options.chatPort = parser.value(chatPort).toInt();
    options.withChat = !parser.isSet(noChat);
    LocalStack stack(options);
    if (!stack.start()) {
        L_ERROR(QStringLiteral("quorvel-localservice | cannot start: ") + stack.errorString());
        QCoreApplication::processEvents();
        return 1;
    }
    const int code = app.exec();
    stack.stop();
    L_NOTE(QStringLiteral("quorvel-localservice | stopped"));
    QCoreApplication::processEvents();
    return code;
}
