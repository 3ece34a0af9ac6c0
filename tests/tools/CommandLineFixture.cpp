#include "CommandLineFixture.h"

#include "Look.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPalette>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string Hex(uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02x", value);
    return text;
}

TConfigDataUnit& LoadMap(TConfigDataUnit& table, std::optional<std::string_view> mapText) {
    if (mapText)
        table.ReadMapText(*mapText);
    else if (!table.ReadMapFile(DeliveredMapFile()))
        throw std::runtime_error("cannot read " + DeliveredMapFile());
    return table;
}

// The grids are painted the way the program's look allows, so they are
// tested under it.
bool ApplyTheProgramsSkin() {
    static const bool applied = [] {
        ApplySkin(*qobject_cast<QApplication*>(QCoreApplication::instance()));
        return true;
    }();
    return applied;
}

std::unique_ptr<SimulatedQmx4600> DeviceFor(const TConfigDataUnit& table) {
    SimulatedQmx4600::RegisterSizes sizes{};
    for (int s = 0; s < 256; ++s)
        sizes[s] = table.GetSize(s);
    return std::make_unique<SimulatedQmx4600>(sizes);
}

} // namespace

void LoggingBus::I2CWrite(uint8_t deviceAddress, uint8_t subAddress, int count, const uint8_t* bytes) {
    log_.push_back("write " + Hex(subAddress));
    inner_.I2CWrite(deviceAddress, subAddress, count, bytes);
}

void LoggingBus::I2CRead(uint8_t deviceAddress, uint8_t subAddress, int count, uint8_t* buffer) {
    log_.push_back("read " + Hex(subAddress));
    inner_.I2CRead(deviceAddress, subAddress, count, buffer);
}

QString ScriptedDialogs::Answer() {
    if (answers.empty())
        return QString();
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedDialogs::GetOpenFileName(QWidget*, const FileDialogRequest& request) {
    log_.push_back("open dialog");
    openRequests.push_back(request);
    return Answer();
}

QString ScriptedDialogs::GetSaveFileName(QWidget*, const FileDialogRequest& request) {
    log_.push_back("save dialog");
    saveRequests.push_back(request);
    return Answer();
}

CommandLineWindow::CommandLineWindow(std::optional<std::string_view> mapText)
    : skin(ApplyTheProgramsSkin()), device(DeviceFor(LoadMap(table, mapText)).release()),
      transport(std::make_unique<TI2CForm>(std::unique_ptr<SimulatedQmx4600>(device), &ui)),
      bus(*transport, log), hooks(log), dialogs(log), window(table, bus, hooks, dialogs) {
    table.SetBus(&bus);
    table.SetDeviceAddressSource(&window);
    transport->OpenAdapter();
    device->TakeCalls();
}

void CommandLineWindow::Click(const QString& name) const {
    Find<QAbstractButton>(name)->click();
}

QString CommandLineWindow::Text(const QString& name) const {
    QWidget* widget = Find(name);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    throw std::runtime_error(name.toStdString() + " shows no text");
}

// Byte n of a register sits in word n / 4, byte n % 4 + 1 of a grid.
QLineEdit* CommandLineWindow::WriteField(int n) const {
    return Edit(QStringLiteral("WriteDataWord%1Byte%2").arg(n / 4).arg(n % 4 + 1));
}

QLineEdit* CommandLineWindow::ReadField(int n) const {
    return Edit(QStringLiteral("ReadDataWord%1Byte%2").arg(n / 4).arg(n % 4 + 1));
}

std::string CommandLineWindow::Message() const {
    return Text("MessageLabel").toStdString();
}

std::string DeliveredMapFile() {
    return QMX_SOURCE_DATA_DIR "/QMX4600.addr";
}

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> bytes;
    for (int v : values)
        bytes.push_back(static_cast<uint8_t>(v));
    return bytes;
}

std::vector<uint8_t> Sequence(int count, int first, int step) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<uint8_t>(first + i * step));
    return bytes;
}

std::string ReadWholeFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteWholeFile(const std::string& fileName, const std::string& text) {
    std::ofstream out(fileName, std::ios::binary);
    out << text;
}

// The colour a field is painted in, taken beside its digits.
QColor Background(QLineEdit* field) {
    const QImage image = field->grab().toImage();
    return image.pixelColor(4, image.height() / 2);
}

void ExpectPainted(const CommandLineWindow& w, int size) {
    const QColor grey(128, 128, 128);
    const QColor normal = QApplication::palette(w.WriteField(0)).color(QPalette::Base);
    ASSERT_NE(normal, grey);
    for (int n = 0; n < 40; ++n) {
        SCOPED_TRACE("byte " + std::to_string(n));
        for (QLineEdit* field : {w.WriteField(n), w.ReadField(n)})
            EXPECT_EQ(Background(field), n < size ? normal : grey);
    }
}

void ExpectReadGridShows(const CommandLineWindow& w, const std::vector<uint8_t>& bytes) {
    for (int n = 0; n < 40; ++n) {
        SCOPED_TRACE("byte " + std::to_string(n));
        char text[3];
        std::snprintf(text, sizeof text, "%02x", n < static_cast<int>(bytes.size()) ? bytes[n] : 0);
        EXPECT_EQ(w.ReadField(n)->text().toStdString(), text);
    }
}
