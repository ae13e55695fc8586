// Included, and includes nothing back.
#pragma once
