#include "platform/modal_runner.h"

#include "platform/form.h"

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
    form.Widget()->setWindowModality(Qt::ApplicationModal);
    form.Show();
    if (!closed)
        loop.exec();
    form.OnClose = previous;
    form.Hide();
}

} // namespace kelvox
