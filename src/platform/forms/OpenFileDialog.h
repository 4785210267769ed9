#pragma once
// The open-file dialog of the windows that read a file the user picks.

#include <QFileDialog>

namespace tb {

// An existing file chosen in `folder` with the filter ("CSV (*.CSV)") and the suffix
// added to a name typed without one; "" when cancelled.
inline QString ChooseExistingFile(QWidget* parent, const QString& title, const QString& folder, const QString& filter,
                                  const QString& suffix) {
  QFileDialog dialog(parent, title, folder, filter);
  dialog.setDefaultSuffix(suffix);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                  : QString();
}

}  // namespace tb
