#pragma once
// The program's emblem and the splash window (Tfrm_Logo) that shows it at start-up.

#include <QPixmap>
#include <QWidget>

class QTimer;

namespace kodexa {

// The emblem alone: an open book in a round badge, on a transparent square.
QPixmap DrawEmblem(int side);
// The splash picture, 400 x 240: the emblem and the program's name on a rounded card,
// drawn over the window's grey, which the window leaves out.
QPixmap DrawSplashPicture();

// Borderless, always on top, centred on the desktop; closes and destroys itself when its
// 4000 ms timer first fires. It takes no input, so the window below stays usable.
class Tfrm_Logo final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Logo)
public:
    static inline const QColor TransparentColour{128, 128, 128};

    explicit Tfrm_Logo(QWidget *parent = nullptr);
    ~Tfrm_Logo() override;

    QTimer *Timer1() const { return timer1_; }

protected:
    void showEvent(QShowEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    QPixmap picture_;
    QTimer *timer1_ = nullptr;
};

// Creates the splash window and shows it without waiting.
Tfrm_Logo *ShowSplash(QWidget *parent);

} // namespace kodexa
