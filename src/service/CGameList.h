#pragma once

#include "service/CCategory.h"
#include "service/CEmulator.h"
#include "service/CGame.h"
#include "service/CLanguage.h"
#include "service/RequestSlot.h"

namespace ravelo {

/// The game-list, search and special-topic answer.
class CGameList : public CJsonObjectBase
{
public:
    std::int32_t status = 0;
    RecordVector<CGame> gamelist;
    std::string count; // total number of matches, as text
    RecordVector<CCategory> categorygroup;
    RecordVector<CEmulator> emulatorgroup;
    RecordVector<CLanguage> languagegroup;
    std::string msg;
    float _run_time = 0.0f;
    /// Program-side, filled by the catalogue client: what the request that brought this answer asked
    /// for, so that a page can tell an answer for other filters than it now shows.
    RequestParams request;

    std::unique_ptr<CJsonObjectBase> CreateListElement(const std::string& key) override;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
