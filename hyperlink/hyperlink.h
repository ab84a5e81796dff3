// Turns a static text control into a clickable link.
#pragma once
