#ifndef FUZZSUPPORT_H
#define FUZZSUPPORT_H

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// What every fuzz target shares: a QCoreApplication, a private home folder for
// the stores and settings (removed at exit), the services pointed at an
// address that never answers, and the logger switched on at every level with
// no sink writing, so each log line's text is built as in the program but
// nothing floods the fuzzer's output.
namespace fuzz {

// Call once, from LLVMFuzzerInitialize.
void setUp(int* argc, char*** argv);

// The input as a byte array that does not copy it.
inline QByteArray input(const uint8_t* data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
}

// Runs the posted events and deferred deletions of this thread.
void drainEvents();

} // namespace fuzz

#endif // FUZZSUPPORT_H
