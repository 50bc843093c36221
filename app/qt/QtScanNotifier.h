#pragma once

#include <QEvent>
#include <QObject>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "StartJob.h"

// A job's notice as a Qt event, posted to the dialog and delivered on its thread by
// whichever event loop runs there, a message box's or a chooser's included.
class ScanEvent : public QEvent {
  public:
    explicit ScanEvent(std::int32_t document) : QEvent(kind()), m_nDocument(document) {}
    explicit ScanEvent(JobReport report) : QEvent(kind()), m_report(std::move(report)) {}
    static QEvent::Type kind();
    // The job's end with its report; without one, the progress of document().
    const std::optional<JobReport>& report() const { return m_report; }
    std::int32_t document() const { return m_nDocument; }

  private:
    std::int32_t m_nDocument = 0;
    std::optional<JobReport> m_report;
};

// Maps a job's events to ScanEvents posted to the dialog.
class QtScanNotifier : public JobEvents {
  public:
    explicit QtScanNotifier(QObject* receiver) : m_receiver(receiver) {}
    void progress(std::int32_t n) override;
    void done(const JobReport& report) override;
    // Called by the dialog before it goes away; later notices are dropped.
    void detach();

  private:
    void post(std::unique_ptr<ScanEvent> event);

    std::mutex m_lock;
    QObject* m_receiver;
};
