#include "protocol/ModuleImage.h"

QString threeDigits(int n)
{
    // Values outside 0..999 cannot be written on the wire; callers keep slots within range.
    return QString::number(1000 + n).right(3);
}
