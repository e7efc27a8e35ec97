#pragma once
// A label that reports a click: a left press and release on it, or Enter or
// Space while it has the keyboard focus (a label takes the focus only when
// told to, as the site link is).
#include <QLabel>

namespace nimbo {

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    bool event(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace nimbo
