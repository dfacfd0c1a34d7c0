#include "masterdata/ui/Uchima_guize_add.h"
#include "masterdata/ui/Upinpai_add.h"
#include "masterdata/ui/Upinpai_list.h"
#include "masterdata/ui/Ushangpin_add.h"
#include "masterdata/ui/Ushangpin_chima.h"
#include "masterdata/ui/Ushangpin_chima_add.h"
#include "masterdata/ui/Ushangpin_leibie.h"
#include "masterdata/ui/Ushangpin_leibie_add.h"
#include "masterdata/ui/Ushangpin_list.h"
#include "masterdata/ui/Uyanse_add.h"
#include "masterdata/ui/Uyanse_fenlei_add.h"
#include "masterdata/ui/Uyanse_list.h"
#include "ui/WindowRegistry.h"

template <typename W>
static void add(const char *className)
{
    registerWindow(QString::fromLatin1(className), [](QWidget *parent) { return new W(parent); });
}

void registerGoodsWindows()
{
    add<TFshangpin_leibie>("TFshangpin_leibie");
    add<TFshangpin_leibie_add>("TFshangpin_leibie_add");
    add<TFpinpai_list>("TFpinpai_list");
    add<TFpinpai_add>("TFpinpai_add");
    add<TFshangpin_chima>("TFshangpin_chima");
    add<TFchima_guize_add>("TFchima_guize_add");
    add<TFshangpin_chima_add>("TFshangpin_chima_add");
    add<TFyanse_list>("TFyanse_list");
    add<TFyanse_fenlei_add>("TFyanse_fenlei_add");
    add<TFyanse_add>("TFyanse_add");
    add<TFshangpin_list>("TFshangpin_list");
    add<TFshangpin_add>("TFshangpin_add");
}
