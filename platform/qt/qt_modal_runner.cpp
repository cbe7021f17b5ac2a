#include "platform/qt/qt_modal_runner.h"

#include "platform/form.h"
#include "platform/qt/qt_form_widget.h"

#include <QEventLoop>
#include <QWidget>

namespace kelvox {

void QtModalRunner::run(Form& form) {
    QEventLoop loop;
    bool closed = false;
    const NotifyEvent previous = form.OnClose;
    form.OnClose = [&] {
        if (previous)
            previous();
        closed = true;
        loop.quit();
    };
    qt_widget(form)->setWindowModality(Qt::ApplicationModal);
    form.Show();
    if (!closed)
        loop.exec();
    form.OnClose = previous;
    form.Hide();
}

} // namespace kelvox
