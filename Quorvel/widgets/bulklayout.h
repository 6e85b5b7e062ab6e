#ifndef BULKLAYOUT_H
#define BULKLAYOUT_H

class QLayout;

// Holds a list's layout still while many rows go in: every row shown in a
// visible list would otherwise lay out the whole list again. The layout is
// laid out once when this goes out of scope.
class BulkLayout
{
public:
    explicit BulkLayout(QLayout* layout);
    ~BulkLayout();
    BulkLayout(const BulkLayout&) = delete;
    BulkLayout& operator=(const BulkLayout&) = delete;

private:
    QLayout* held;
    bool wasEnabled;
};

#endif // BULKLAYOUT_H
