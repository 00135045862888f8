// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/help_window.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "core/app_identity.h"

namespace dupliora {

QString HelpHtml() {
  const AppIdentity& id = Identity();
  return QStringLiteral(
             "<h2>%1 %2</h2>"
             "<p>%1 finds identical and similar pictures in one folder list, or between two "
             "folder lists, and lets you clean them up safely.</p>"
             "<h3><a name=\"start\"></a>Starting a comparison</h3>"
             "<p>Enter one or more folders in the path field (separate them with ;) and press "
             "<b>Start</b>; press it again to stop. To compare two lists against each other, "
             "choose <i>Folder list 1 against 2</i>: the left field then holds list 1, the "
             "right field list 2.</p>"
             "<h3><a name=\"options\"></a>Options</h3>"
             "<p>The similarity threshold (40 to 100 percent) decides which pairs are listed. "
             "Rotated, mirrored and negative copies are found when those searches are on.</p>"
             "<h3><a name=\"results\"></a>Working with the results</h3>"
             "<p>Select a row to see both pictures side by side; Home and End jump to the first "
             "and last row. Check marks pick pictures. The toolbar on the selected row shows a "
             "picture in the file manager or moves it to the trash; a double click on a path "
             "renames the picture in place.</p>"
             "<h3><a name=\"languages\"></a>Languages</h3>"
             "<p>The texts exist in English and German. The other languages of the menu, "
             "marked there, show the English texts.</p>"
             "<h3><a name=\"settings\"></a>Settings</h3>"
             "<p>Settings are kept in %3.ini, beside the program when such a file exists there "
             "and can be written, otherwise in the per-user configuration folder. A program "
             "file whose name contains ini=Name keeps its own settings under that name.</p>")
      .arg(id.productName, id.versionText, id.settingsName);
}

void ShowHelpWindow(QWidget* parent, const QString& topic, bool modal) {
  auto* dialog = new QDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(Identity().productName + QLatin1Char(' ') + Identity().versionText);
  auto* layout = new QVBoxLayout(dialog);
  auto* browser = new QTextBrowser(dialog);
  browser->setHtml(HelpHtml());
  layout->addWidget(browser);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  layout->addWidget(buttons);
  dialog->resize(640, 480);
  if (topic.size() > 1) browser->scrollToAnchor(topic.mid(1));
  if (modal) {
    dialog->exec();
  } else {
    dialog->show();
  }
}

}  // namespace dupliora
