#include "platform/application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QString>
#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/exception.h"

namespace {

TMessageSink& Sink() {
    static TMessageSink sink;
    return sink;
}

void ShowBox(TMessageKind kind, const std::string& text) {
    const std::string caption = ApplicationTitle();
    if (Sink()) {
        Sink()(kind, caption, text);
        return;
    }
    QMessageBox box(kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

}  // namespace

std::uint32_t GetTickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

void Sleep(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

std::string GetCurrentDir() {
    std::error_code ec;
    std::string dir = std::filesystem::current_path(ec).string();
    // An empty answer would turn "<dir>/images" into "/images", a folder that
    // is not ours; better no directory at all than the wrong one.
    if (ec || dir.empty())
        throw Exception("Cannot determine the current directory: " + ec.message() + ".");
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

void SetApplicationTitle(const std::string& title) {
    QGuiApplication::setApplicationDisplayName(QString::fromStdString(title));
}

std::string ApplicationTitle() { return QGuiApplication::applicationDisplayName().toStdString(); }

void ShowMessage(const std::string& text) { ShowBox(TMessageKind::Information, text); }

void ShowException(const std::exception& error) { ShowBox(TMessageKind::Error, error.what()); }

TMessageSink SetMessageSink(TMessageSink sink) { return std::exchange(Sink(), std::move(sink)); }
