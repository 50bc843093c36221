#include "QtScanNotifier.h"

#include <QCoreApplication>

QEvent::Type ScanEvent::kind() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void QtScanNotifier::progress(std::int32_t n) {
    post(std::make_unique<ScanEvent>(n));
}

void QtScanNotifier::done(const JobReport& report) {
    post(std::make_unique<ScanEvent>(report));
}

void QtScanNotifier::post(std::unique_ptr<ScanEvent> event) {
    std::lock_guard guard(m_lock);
    if (m_receiver)
        QCoreApplication::postEvent(m_receiver, event.release());
}

void QtScanNotifier::detach() {
    std::lock_guard guard(m_lock);
    m_receiver = nullptr;
}
