#ifndef FORMERRORLINE_H
#define FORMERRORLINE_H

class QLabel;

// The error line of a form (the style sheet's "ErrorMess"): plain text,
// hidden until a check fails, and keeping its room while hidden so that the
// fields and buttons around it do not move as it comes and goes.
class FormErrorLine
{
public:
    // Call once the line has its font.
    static void setUp(QLabel* line);
};

#endif // FORMERRORLINE_H
