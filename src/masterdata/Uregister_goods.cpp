#include "masterdata/Uchima_guize_add.h"
#include "masterdata/Upinpai_add.h"
#include "masterdata/Upinpai_list.h"
#include "masterdata/Ushangpin_add.h"
#include "masterdata/Ushangpin_chima.h"
#include "masterdata/Ushangpin_chima_add.h"
#include "masterdata/Ushangpin_leibie.h"
#include "masterdata/Ushangpin_leibie_add.h"
#include "masterdata/Ushangpin_list.h"
#include "masterdata/Uyanse_add.h"
#include "masterdata/Uyanse_fenlei_add.h"
#include "masterdata/Uyanse_list.h"
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
