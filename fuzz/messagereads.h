#ifndef MESSAGEREADS_H
#define MESSAGEREADS_H

class Message;

namespace fuzz {

// Everything the program reads out of a message it received: every payload
// body, the written forms, and a store round trip (what is written must read
// back as the same message; a difference aborts, so the fuzzer reports it).
void readEverything(const Message& message);

} // namespace fuzz

#endif // MESSAGEREADS_H
