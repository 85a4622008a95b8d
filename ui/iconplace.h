#ifndef UI_ICONPLACE_H
#define UI_ICONPLACE_H

// Where an icon of iconExtent pixels starts so that it stands in the middle
// of extent pixels, rounding halves up: 36 and 32 give 2, 30 and 32 give 0.
inline int CentredIconOffset(int extent, int iconExtent)
{
    return (extent - iconExtent + 1) / 2;
}

#endif
