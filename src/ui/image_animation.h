// Plays a list of pictures in a TImage while the image is shown; the timer
// stops while it is hidden, so a hidden indicator costs nothing.
#pragma once
#include <QPixmap>
#include <QVector>

class TImage;

void AnimateImage(TImage* image, QVector<QPixmap> frames, int frameMilliseconds);
