#pragma once
// "About Cotlyn": what is installed and where the data is. Also the splash window.

#include <QDialog>

class QLabel;
class QPushButton;

namespace tb {

class Session;

class TAboutForm : public QDialog {
  Q_OBJECT
 public:
  TAboutForm(Session& session, const QString& fullVersion, bool splash, QWidget* parent = nullptr);
  QLabel* heading = nullptr;
  QLabel* text = nullptr;
  QLabel* rootLine = nullptr;
  QLabel* settingsLine = nullptr;
  QLabel* readOnlyLabel = nullptr;
  QPushButton* visitButton = nullptr;
  QPushButton* closeButton = nullptr;

  static constexpr int kSplashMs = 2500;
  static constexpr const char* kWebSite = "https://tenbrook.example/";
};

}  // namespace tb
