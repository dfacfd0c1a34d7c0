// Every Qt widget header includes this one first. The rules library finds this
// stand-in before Qt's own, so including a widget header there fails to compile.
#error "business rules must not use Qt Widgets: move this unit to a ui/ folder"
