#pragma once

#include "app/Engines.h"
#include "download/DownloadManager.h"
#include "gui/catalogue/CGameListPage.h"
#include "gui/catalogue/CatalogueActions.h"
#include "gui/catalogue/CatalogueWorker.h"
#include "gui/play/GameStarter.h"
#include "gui/support/AnsweringHost.h"
#include "gui/support/GuiFixture.h"
#include "platform/Messages.h"
#include "store/CppSQLite3DB.h"
#include "uilib/UiDialogs.h"

#include <QUrl>

#include <mutex>
#include <string>
#include <vector>

namespace ravelo::test {

/// Stands in for the main window: keeps what the pages post to it.
class MainWindowStandIn final : public MessageReceiver
{
public:
    struct Posted
    {
        std::uint32_t id;
        std::uintptr_t wParam;
        std::u16string title;
    };

    void Deliver(Message message) override
    {
        std::lock_guard lock(m_lock);
        const std::unique_ptr<std::u16string> title = message.TakePayload<std::u16string>();
        m_posted.push_back({message.id, message.wParam, title ? *title : std::u16string()});
    }
    std::vector<Posted> Received(std::uint32_t id) const
    {
        std::lock_guard lock(m_lock);
        std::vector<Posted> found;
        for (const Posted& posted : m_posted)
            if (posted.id == id)
                found.push_back(posted);
        return found;
    }

private:
    mutable std::mutex m_lock;
    std::vector<Posted> m_posted;
};

/// What the catalogue's pages stand on in a test: the engines against ravelo-server, the tile actions,
/// the catalogue worker, a stand-in main window, and a record of the details and addresses opened.
class CatalogueFixture : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        engines().Downloads().SetPrompts(&m_host);
        engines().Downloads().Start(0, 0);
        m_starter = std::make_unique<GameStarter>(engines().Launcher(), m_host);
        m_actions = std::make_unique<CatalogueActions>(engines(), m_host, *m_starter);
        m_worker = std::make_unique<CatalogueWorker>(engines().Catalogue());
        m_main = std::make_unique<ScopedReceiverRegistration>(&m_mainWindow);
        UiLib::SetUrlOpener([this](const QUrl& url) {
            m_opened.push_back(url.toString().toStdString());
            return true;
        });
    }
    void TearDown() override
    {
        UiLib::SetUrlOpener(nullptr);
        m_actions->Shutdown();
        m_starter->Shutdown();
        m_worker.reset();
        m_main.reset();
        GuiFixture::TearDown();
    }

    CataloguePageContext Context()
    {
        return CataloguePageContext{
            engines(), *m_actions, m_main->Handle(),
            [this](const CGame& game, WindowHandle) { m_details.push_back(game.gameid); }};
    }

    /// Changes the demo catalogue the running server answers from.
    static void ChangeCatalogue(const std::string& sql)
    {
        CppSQLite3DB db;
        db.open(Server().Root() + "/catalogue.db");
        db.execDML(sql);
        db.close();
    }

    AnsweringHost m_host;
    std::unique_ptr<GameStarter> m_starter;
    std::unique_ptr<CatalogueActions> m_actions;
    std::unique_ptr<CatalogueWorker> m_worker;
    MainWindowStandIn m_mainWindow;
    std::unique_ptr<ScopedReceiverRegistration> m_main;
    std::vector<std::string> m_details; // game ids whose detail window was opened
    std::vector<std::string> m_opened;  // addresses handed to the browser
};

} // namespace ravelo::test
