#include "foundation/quorvelcore_export.h"

class QUORVELCORE_EXPORT Marked
{
};

class Forward;

template <typename T> struct Holder
{
};

template <typename T>
class Wrapper
{
};

class Unmarked : public Marked
{
};
