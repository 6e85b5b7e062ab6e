// The fuzz target without the fuzzing engine: runs it once over each file of
// the folders given as arguments, or of its built-in seed and regression
// folders. A crash or a failed check ends the program as it would the fuzzer.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    QStringList folders;
    for (int i = 1; i < argc; ++i)
        folders << QString::fromLocal8Bit(argv[i]);
    if (folders.isEmpty())
        folders = QString::fromUtf8(QUORVEL_FUZZ_INPUTS).split(QLatin1Char(':'));
    int initArgc = 1;
    LLVMFuzzerInitialize(&initArgc, &argv);

    int runs = 0;
    for (const QString& folder : folders) {
        const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
        for (const QFileInfo& info : files) {
            QFile file(info.filePath());
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(info.filePath()));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            std::fprintf(stderr, "%s\n", qPrintable(info.filePath()));
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                   size_t(bytes.size()));
            ++runs;
        }
    }
    if (runs == 0) {
        std::fprintf(stderr, "no inputs found in %s\n", qPrintable(folders.join(QLatin1Char(' '))));
        return 1;
    }
    std::printf("%d inputs replayed\n", runs);
    return 0;
}
