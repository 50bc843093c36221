#pragma once

#include <QEvent>
#include <QObject>
#include <mutex>

#include "ScanLink.h"

// A job's notice as a Qt event, posted to the dialog and delivered on its thread by
// whichever event loop runs there, a message box's or a chooser's included.
class ScanEvent : public QEvent {
  public:
    ScanEvent(unsigned message, long lParam)
        : QEvent(kind()), m_message(message), m_lParam(lParam) {}
    static QEvent::Type kind();
    unsigned message() const { return m_message; }
    long lParam() const { return m_lParam; }

  private:
    unsigned m_message;
    long m_lParam;
};

class QtScanNotifier : public ScanNotifier {
  public:
    explicit QtScanNotifier(QObject* receiver) : m_receiver(receiver) {}
    // Called on the job's thread.
    void post(unsigned message, long lParam) override;
    // Called by the dialog before it goes away; later notices are dropped.
    void detach();

  private:
    std::mutex m_lock;
    QObject* m_receiver;
};
