#include "platform/LocaleFacts.h"

LocaleFacts LocaleFacts::unitedStates()
{
    LocaleFacts facts;
    facts.monthNames = {"January", "February", "March", "April", "May", "June", "July",
                        "August", "September", "October", "November", "December"};
    facts.shortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return facts;
}
