#include "controls/onidlehandler.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <memory>

TOnIdleHandler::TOnIdleHandler(QObject* parent) : QObject(parent) {
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    SetClock([clock] { return clock->elapsed(); });
    wake_.setSingleShot(true);
    // The timer only wakes the loop; the pass follows when the loop is idle again.
    connect(&wake_, &QTimer::timeout, this, [] {});
}

TOnIdleHandler::~TOnIdleHandler() { disconnect(hook_); }

void TOnIdleHandler::SetClock(std::function<qint64()> nowMs) {
    now_ = std::move(nowMs);
    last_ = now_();
}

void TOnIdleHandler::SetVisible(bool visible) {
    visible_ = visible;
    Hook();
}

void TOnIdleHandler::SetOnIdle(std::function<void(QObject*, int)> handler) {
    onIdle_ = std::move(handler);
    Hook();
}

void TOnIdleHandler::Hook() {
    disconnect(hook_);
    hook_ = {};
    wake_.stop();
    if (!visible_ || !onIdle_) return;
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(thread())) {
        hook_ = connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TOnIdleHandler::Pass,
                        Qt::DirectConnection);
    }
}

void TOnIdleHandler::Pass() {
    if (!visible_ || !onIdle_ || inPass_) return;
    if (QThread::currentThread()->loopLevel() > 1) return;  // inside a nested wait
    const qint64 lag = now_() - last_;
    if (lag < interval_) {
        if (!wake_.isActive()) wake_.start(static_cast<int>(interval_ - lag));
        return;
    }
    inPass_ = true;
    last_ = now_();
    onIdle_(this, static_cast<int>(lag));
    inPass_ = false;
    // Done false asks for passes to go on: they come every Interval, with
    // the loop asleep in between. With Interval 0 they come with each event.
    if (!done_ && interval_ > 0 && !wake_.isActive()) wake_.start(interval_);
}
