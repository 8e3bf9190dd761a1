// A form of hover buttons: normal, focused, disabled, with access keys and a wrapped caption.
// The status line shows the events the buttons raise.
//
//   velnor_demo                       shows the form
//   velnor_demo --screenshot out.png  saves a picture of the form (with the pointer over the
//                                     first button and the focus on the second) and exits
#include <QApplication>
#include <QCommandLineParser>
#include <QCursor>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

#include "velnor/velnor_button_widget.h"

namespace {

using velnor::VelnorButtonWidget;

// The buttons of the form, owned by it.
struct Form {
  QWidget window;
  QLabel* status = nullptr;
  VelnorButtonWidget* save = nullptr;
  VelnorButtonWidget* open = nullptr;
  VelnorButtonWidget* preview = nullptr;
  VelnorButtonWidget* cancel = nullptr;
  VelnorButtonWidget* post = nullptr;

  Form() {
    window.setWindowTitle(QStringLiteral("Velnor buttons"));
    window.setWindowIcon(VelnorButtonWidget::toolboxIcon());
    // The buttons take the form's font as their ambient font when they are created.
    QFont font = window.font();
    font.setPointSizeF(8);
    window.setFont(font);
    auto* layout = new QVBoxLayout(&window);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);

    save = Add(grid, 0, 0, "cmdSave", "&Save");
    open = Add(grid, 0, 1, "cmdOpen", "&Open");
    preview = Add(grid, 1, 0, "cmdPreview", "Print && &Preview");
    cancel = Add(grid, 1, 1, "cmdCancel", "&Cancel");
    cancel->setButtonEnabled(false);
    post = Add(grid, 2, 0, "cmdPost", "Post and &close");
    post->setFixedSize(75, 36);
    post->control().Put("ForeHover", orv::Variant(int32_t(velnor::Rgb(0, 60, 116))));

    status = new QLabel(QStringLiteral("Alt+S, Alt+O, Alt+P; arrows move the focus"), &window);
    layout->addWidget(status);
  }

  VelnorButtonWidget* Add(QGridLayout* grid, int row, int column, const char* name,
                          const char* caption) {
    auto* b = new VelnorButtonWidget(QString::fromLatin1(name), &window);
    b->setFixedSize(b->sizeHint());
    b->setCaption(QString::fromUtf8(caption));
    const QString who = QString::fromLatin1(name);
    QObject::connect(b, &VelnorButtonWidget::clicked, &window,
                     [this, who] { status->setText(who + QStringLiteral(": Click")); });
    QObject::connect(b, &VelnorButtonWidget::mouseOver, &window,
                     [this, who] { status->setText(who + QStringLiteral(": MouseOver")); });
    QObject::connect(b, &VelnorButtonWidget::mouseOut, &window,
                     [this, who] { status->setText(who + QStringLiteral(": MouseOut")); });
    grid->addWidget(b, row, column);
    return b;
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("A form of VelnorButton hover buttons"));
  parser.addHelpOption();
  const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                      QStringLiteral("Save a picture of the form and exit."),
                                      QStringLiteral("file.png"));
  parser.addOption(screenshot);
  parser.process(app);

  Form form;
  form.window.show();
  form.window.activateWindow();
  form.open->setFocus();
  if (!parser.isSet(screenshot)) return app.exec();

  // Put the pointer over the first button and let the form settle.
  const QPoint over = form.save->mapToGlobal(QPoint(20, 10));
  QCursor::setPos(over);
  QMouseEvent move(QEvent::MouseMove, QPointF(20, 10), QPointF(over), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(form.save, &move);
  QApplication::processEvents();

  const QString file = parser.value(screenshot);
  if (!form.window.grab().save(file)) {
    std::fprintf(stderr, "velnor_demo: cannot write %s\n", qPrintable(file));
    return 1;
  }
  std::printf("%s\n", qPrintable(file));
  return 0;
}
