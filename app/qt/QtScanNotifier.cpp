#include "QtScanNotifier.h"

#include <QCoreApplication>

QEvent::Type ScanEvent::kind() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void QtScanNotifier::post(unsigned message, long lParam) {
    std::lock_guard guard(m_lock);
    if (m_receiver)
        QCoreApplication::postEvent(m_receiver, new ScanEvent(message, lParam));
}

void QtScanNotifier::detach() {
    std::lock_guard guard(m_lock);
    m_receiver = nullptr;
}
