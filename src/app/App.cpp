#include "app/App.h"

#include "app/Artwork.h"

App::App(platform::Ui &ui, platform::DriveMap drives) : m_ui(ui), m_drives(std::move(drives)) {}

App::~App() = default;

const ImageLists &App::images() const
{
    if (!m_images)
        m_images = std::make_unique<ImageLists>(BuildImageLists());
    return *m_images;
}
