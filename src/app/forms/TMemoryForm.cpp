#include "app/forms/TMemoryForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/SystemInfo.h"

namespace tb {

TMemoryForm::TMemoryForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Memory usage"));
  auto* layout = new QVBoxLayout(this);
  figures = new QLabel(this);
  figures->setTextFormat(Qt::RichText);
  layout->addWidget(figures);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  layout->addWidget(buttons);
  timer = new QTimer(this);
  timer->setInterval(1000);
  connect(timer, &QTimer::timeout, this, &TMemoryForm::Update);
  timer->start();
  Update();
}

void TMemoryForm::Update() {
  const MemoryFigures m = ReadMemoryFigures();
  const QLocale locale(QLocale::English, QLocale::UnitedKingdom);
  auto kb = [&locale](long long v) { return locale.toString(v) + QStringLiteral(" KB"); };
  const std::pair<const char*, long long> rows[] = {
      {"Memory in use (resident)", m.resident},      {"Peak memory in use", m.residentPeak},
      {"Address space (virtual)", m.virtualSize},    {"Peak address space", m.virtualPeak},
      {"Machine memory, total", m.machineTotal},     {"Machine memory, available", m.machineAvailable},
  };
  QString html = QStringLiteral("<table cellspacing='6'>");
  for (const auto& [caption, value] : rows)
    html += QStringLiteral("<tr><td>%1</td><td align='right'>%2</td></tr>").arg(QString::fromLatin1(caption), kb(value));
  figures->setText(html + QStringLiteral("</table>"));
}

}  // namespace tb
