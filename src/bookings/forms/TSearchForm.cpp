#include "bookings/forms/TSearchForm.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

#include "app/ListedBooking.h"
#include "bookings/BookingEditor.h"
#include "bookings/forms/SearchModel.h"
#include "platform/Format.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/ListWindow.h"
#include "platform/forms/QtText.h"
#include "reports/BookingReports.h"
#include "store/BookingList.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

constexpr int kWidth = 800;

}  // namespace

TSearchForm::TSearchForm(Session& s, SearchPurpose purpose, QWidget* parent)
    : QDialog(parent), s_(s), purpose_(purpose), wasOpen_(s.SearchFormOpen) {
  s_.SearchFormOpen = true;
  fileListing_ = purpose == SearchPurpose::ListAll && s_.AppState == 'F';
  setWindowTitle(QStringLiteral("Cotlyn: Search Window"));
  auto* layout = new QVBoxLayout(this);

  auto* top = new QHBoxLayout;
  const bool byText = purpose == SearchPurpose::Text;
  lSearch = new QLabel(byText ? QStringLiteral("Search for text:") : QStringLiteral("Search for name"), this);
  lWildcard = new QLabel(byText ? QString() : QStringLiteral("(Wildcard allowed eg B*)"), this);
  lWildcard->setVisible(!byText);
  eSearch = new QLineEdit(this);
  eSearch->setToolTip(QStringLiteral("Enter name or wildcard (eg B* ) then click SEARCH "));
  bSearch = new QPushButton(QStringLiteral("SEARCH"), this);
  // Enter in the box searches; the button must not take Enter a second time.
  bSearch->setAutoDefault(false);
  cbAll = new QCheckBox(QStringLiteral("Search all properties?"), this);
  top->addWidget(lSearch);
  top->addWidget(eSearch, 1);
  top->addWidget(lWildcard);
  top->addWidget(bSearch);
  top->addWidget(cbAll);
  layout->addLayout(top);

  // An agency view shows every property, so name searches and the full list look at
  // all of them; a booking file is its own scope.
  const bool agencyWide = s_.common.AllPropertiesView() && purpose != SearchPurpose::Text &&
                          purpose != SearchPurpose::History;
  cbAll->setChecked(agencyWide || s_.prefs.HistoryAllProperties());
  cbAll->setVisible(s_.NumProps() >= 2 && !agencyWide && s_.AppState != 'F');

  model_ = new SearchModel(s_, list_, SearchColumns(fileListing_), this);
  LV = RowTable(this, model_, {84, 40, 110, 100, 180, 40, 64, 40, 84});
  LV->setSelectionMode(QAbstractItemView::SingleSelection);
  LV->setContextMenuPolicy(Qt::CustomContextMenu);
  layout->addWidget(LV, 1);

  lStatus = new QLabel(this);
  lStatus->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  layout->addWidget(lStatus);

  popup = new QMenu(this);
  acEdit = popup->addAction(QStringLiteral("Edit"));
  acCopy = popup->addAction(QStringLiteral("Copy data"));

  const QScreen* screen = QGuiApplication::primaryScreen();
  const int screenWidth = screen ? screen->geometry().width() : kWidth + 11;
  resize(screenWidth < kWidth + 11 ? screenWidth - 10 : kWidth, 480);

  AddHelpKey(this, [this]() { OpenHelp(s_, kSearchHelp); });
  connect(bSearch, &QPushButton::clicked, this, &TSearchForm::Search);
  connect(eSearch, &QLineEdit::returnPressed, this, &TSearchForm::Search);
  connect(cbAll, &QCheckBox::toggled, this, [this](bool on) { s_.prefs.SetHistoryAllProperties(on); });
  connect(LV->horizontalHeader(), &QHeaderView::sectionClicked, this, &TSearchForm::SortBy);
  connect(LV, &QTableView::clicked, this, [this](const QModelIndex& index) { ChooseLine(index.row()); });
  connect(LV, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    const QModelIndex index = LV->indexAt(at);
    if (!index.isValid()) return;
    LV->selectRow(index.row());
    popup->popup(LV->viewport()->mapToGlobal(at));
  });
  connect(acEdit, &QAction::triggered, this, [this]() { ChooseLine(LV->currentIndex().row()); });
  connect(acCopy, &QAction::triggered, this, [this]() { CopyLine(LV->currentIndex().row()); });
}

// The results go with the window. A history search from a booking opened out of the
// main window's search leaves that one open.
TSearchForm::~TSearchForm() { s_.SearchFormOpen = wasOpen_; }

void TSearchForm::Start(const std::string& text) {
  eSearch->setText(ToQ(text));
  Search();
}

void TSearchForm::Search() {
  text_ = FromQ(eSearch->text());
  Run(true, {});
}

void TSearchForm::Rerun() { Run(false, list_.Stale(s_) ? heldTop_ : KeyOf(TopLine())); }

TSearchForm::LineKey TSearchForm::KeyOf(int i) {
  const SearchHit* hit = Line(i);
  if (!hit) return {};
  return {hit->prop, hit->node->Rec.StartD, hit->node->Rec.Surname.str()};
}

void TSearchForm::LetGo() {
  model_->Changing();
  list_.Clear();
  model_->Changed();
}

void TSearchForm::Run(bool userStarted, const LineKey& top) {
  const std::vector<int> properties = SearchProperties(s_, cbAll->isChecked());
  // Reading may free the rows' bookings and may show a message: the view holds no row
  // meanwhile.
  LetGo();
  // The other properties' files, when the chart holds only the current one's.
  if (properties.size() > 1) ReadReportBookings(s_, properties);
  model_->Changing();
  if (userStarted) list_.Run(s_, properties, purpose_, text_);
  else list_.Rerun(s_, properties, purpose_, text_);
  model_->Changed();
  lStatus->setText(ToQ(Format("Found %d records of %d searched.",
                              {static_cast<int>(list_.result.hits.size()), list_.result.searched})));
  if (!userStarted) {
    const int again = top.prop ? list_.Find(top.prop, top.start, top.surname) : -1;
    if (again >= 0) LV->scrollTo(model_->index(again, 0), QAbstractItemView::PositionAtTop);
    return;
  }
  if (list_.result.hits.empty())
    s_.dialogs.Message("No records found matching criteria", MsgIcon::Information, MsgButton::OK);
}

void TSearchForm::SortBy(int column) {
  if (column < 0 || column >= model_->columnCount() || list_.Stale(s_)) return;
  model_->Changing();
  list_.SortBy(model_->Column(column));
  model_->Changed();
}

int TSearchForm::TopLine() const {
  if (model_->rowCount() == 0) return -1;
  const int row = LV->rowAt(0);
  return row >= 0 ? row : 0;
}

SearchHit* TSearchForm::Line(int i) {
  if (i < 0 || i >= static_cast<int>(list_.result.hits.size()) || list_.Stale(s_)) return nullptr;
  return &list_.result.hits[static_cast<size_t>(i)];
}

void TSearchForm::ChooseLine(int i) {
  SearchHit* hit = Line(i);
  if (!hit) return;
  if (purpose_ == SearchPurpose::History) {
    const std::string question = Format("Selected line %d,", {i + 1}) + " name=" + hit->node->Rec.Surname.str() +
                                 "\rAdd data to booking?\rWarning: You will overwrite existing text (but not charges)";
    if (s_.dialogs.Message(question, MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
      return;
    chosen = hit->node;
    chosenProp = hit->prop;
    accept();
    return;
  }
  if (fileListing_) return;  // the list of a booking file is for viewing
  if (!s_.common.AllPropertiesView() && hit->prop != s_.CurrentProperty) {
    s_.dialogs.Message("Cannot edit record - not current property.", MsgIcon::Error, MsgButton::OK);
    return;
  }
  if (s_.BookFormOpen) {
    s_.dialogs.Message("Close open booking", MsgIcon::Warning, MsgButton::OK);
    return;
  }
  ListedBooking line{hit->prop, hit->rec, hit->node->Rec.StartD, hit->node->Rec.Surname.str(), hit->node};
  const LineKey top = KeyOf(TopLine());
  // Kept for the search after the booking window closes: by then the rows may be stale.
  heldTop_ = top;
  // Taking the booking up may read its property's file again, freeing the rows' bookings.
  LetGo();
  const ListedOpening opening = OpenListedBooking(
      s_, line, "The bookings have been changed by another user.\rYour selection cannot be found.  Repeat the search.",
      "Searchunit");
  if (opening.closeList) {
    close();
    return;
  }
  Run(false, top);
  if (opening.request.open && openBooking) openBooking(opening.request, [this]() { Rerun(); });
}

void TSearchForm::CopyLine(int i) {
  const SearchHit* hit = Line(i);
  if (!hit || !CopyToTempStorage(s_, hit->node->Rec)) return;
  s_.dialogs.Message("Booking copied to temporary file. You can now paste into a new booking.", MsgIcon::Information,
                     MsgButton::OK);
}

}  // namespace tb
