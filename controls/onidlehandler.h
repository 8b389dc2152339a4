// TOnIdleHandler: runs its handler on the idle passes of the event loop, that
// is each time the loop has nothing left to do and is about to sleep; at most
// once per Interval milliseconds, with Timelag the milliseconds since the last
// call. When the interval has not yet passed it wakes the loop once it has, so
// nothing spins while the program has nothing to do. Nested loops (a transfer
// waiting for the processor) are not idle passes.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class TOnIdleHandler : public QObject {
    Q_OBJECT

public:
    explicit TOnIdleHandler(QObject* parent = nullptr);
    ~TOnIdleHandler() override;

    int Interval() const { return interval_; }
    void SetInterval(int milliseconds) { interval_ = milliseconds < 0 ? 0 : milliseconds; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Done true: after a pass the loop waits for the next event. Done false:
    // passes go on every Interval milliseconds even with no event (the loop
    // sleeps in between); with Interval 0 they still wait for an event, so an
    // idle program uses no CPU.
    bool Done() const { return done_; }
    void SetDone(bool done) { done_ = done; }

    void SetOnIdle(std::function<void(QObject* sender, int timelag)> handler);

    // One idle pass, as the event loop makes it (public for tests).
    void Pass();
    // The clock the interval is measured on, in milliseconds (a monotonic
    // one unless a test gives its own).
    void SetClock(std::function<qint64()> nowMs);
    // The loop is to be woken for a pass that is not due yet (or for the next
    // one, Done false); otherwise it sleeps until an event.
    bool WakeScheduled() const { return wake_.isActive(); }
    int WakeIn() const { return wake_.interval(); }

private:
    void Hook();

    std::function<void(QObject*, int)> onIdle_;
    int interval_ = 0;
    bool visible_ = true;
    bool done_ = true;
    bool inPass_ = false;
    std::function<qint64()> now_;
    qint64 last_ = 0;
    QTimer wake_;
    QMetaObject::Connection hook_;
};
