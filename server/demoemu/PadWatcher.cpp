#include "PadWatcher.h"

#include <QMetaObject>
#include <QObject>
#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace ravelo::demoemu {

PadWatcher::PadWatcher(QObject* receiver, PadsChanged padsChanged, ButtonChanged buttonChanged)
    : m_receiver(receiver), m_padsChanged(std::move(padsChanged)), m_buttonChanged(std::move(buttonChanged))
{
    m_thread = std::thread([this] { Run(); });
    // Wait until a stop event can reach the thread, so the destructor never races SDL_Init.
    std::unique_lock lock(m_lock);
    m_started.wait(lock, [this] { return m_ready; });
}

PadWatcher::~PadWatcher()
{
    bool push = false;
    {
        std::lock_guard lock(m_lock);
        push = m_sdlReady;
    }
    if (push) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
    if (m_thread.joinable())
        m_thread.join();
}

void PadWatcher::PostPads(const std::vector<AttachedPad>& pads)
{
    QMetaObject::invokeMethod(
        m_receiver, [callback = m_padsChanged, pads] { callback(pads); }, Qt::QueuedConnection);
}

void PadWatcher::Run()
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    const bool initialised = SDL_Init(SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS) == 0;
    {
        std::lock_guard lock(m_lock);
        m_ready = true;
        m_sdlReady = initialised;
    }
    m_started.notify_all();
    if (!initialised)
        return;

    // Attached pads in the order SDL announced them; pads present at start are announced first.
    std::vector<std::pair<SDL_GameController*, AttachedPad>> open;
    auto snapshot = [&open] {
        std::vector<AttachedPad> pads;
        for (const auto& [controller, pad] : open)
            pads.push_back(pad);
        return pads;
    };
    SDL_Event event;
    while (SDL_WaitEvent(&event) == 1 && event.type != SDL_QUIT) {
        switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: {
            SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
            if (!controller)
                break;
            AttachedPad pad;
            SDL_Joystick* joystick = SDL_GameControllerGetJoystick(controller);
            pad.instanceId = SDL_JoystickInstanceID(joystick);
            if (const char* name = SDL_GameControllerName(controller))
                pad.name = name;
            const SDL_JoystickGUID guid = SDL_JoystickGetGUID(joystick);
            std::memcpy(pad.guid.data(), guid.data, pad.guid.size());
            open.emplace_back(controller, pad);
            PostPads(snapshot());
            break;
        }
        case SDL_CONTROLLERDEVICEREMOVED: {
            const auto found = std::find_if(open.begin(), open.end(), [&event](const auto& entry) {
                return entry.second.instanceId == event.cdevice.which;
            });
            if (found == open.end())
                break;
            SDL_GameControllerClose(found->first);
            open.erase(found);
            PostPads(snapshot());
            break;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            const int instance = event.cbutton.which;
            const int button = event.cbutton.button;
            const bool pressed = event.type == SDL_CONTROLLERBUTTONDOWN;
            QMetaObject::invokeMethod(
                m_receiver,
                [callback = m_buttonChanged, instance, button, pressed] {
                    callback(instance, button, pressed);
                },
                Qt::QueuedConnection);
            break;
        }
        default:
            break;
        }
    }
    for (const auto& [controller, pad] : open)
        SDL_GameControllerClose(controller);
    SDL_Quit();
}

} // namespace ravelo::demoemu
