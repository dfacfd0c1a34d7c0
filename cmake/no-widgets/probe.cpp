// Built only by the test "rules_refuse_widget_headers": a rule unit that includes a
// widget header must fail to compile.
#include <QtWidgets/QWidget>
int probe() { return 0; }
