#include "platform/qt/modal_forms.h"

#include <QEventLoop>

#include "platform/ui/form.h"

namespace platform::qt {

void QtModalForms::Run(platform::Form& form) {
  QEventLoop loop;
  const int id = form.Observe([&](platform::Control& c, platform::Prop p) {
    if (p == platform::Prop::Visible && !c.Visible()) loop.quit();
  });
  if (form.Visible()) loop.exec();
  form.Unobserve(id);
}

}  // namespace platform::qt
