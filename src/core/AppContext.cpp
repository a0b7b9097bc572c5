#include "core/AppContext.h"

#include "core/StatusTexts.h"
#include "list/SoundList.h"

void UpdateCountPart(AppContext& context) {
  context.status.SetCount(context.list.CountText(context.list.CurrentRow()));
}
