<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>dialcrest</name>
    <message>
        <source>IDS_OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>IDS_CANCEL</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>IDS_YES</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>IDS_NO</source>
        <translation>No</translation>
    </message>
    <message>
        <source>IDS_STR_SEARCH</source>
        <translation>Search:</translation>
    </message>
    <message>
        <source>IDS_STR_SEARCH_HINT</source>
        <translation>Type to filter messages</translation>
    </message>
    <message>
        <source>IDS_HOST_TITLE</source>
        <translation>Dialcrest Connection Manager</translation>
    </message>
    <message>
        <source>IDS_HOST_MINIFRAME</source>
        <translation>Dialcrest</translation>
    </message>
    <message>
        <source>IDS_HOST_MINIFRAME_SHOWS</source>
        <translation>%1 wants your attention</translation>
    </message>
    <message>
        <source>IDS_HOST_OPEN</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>IDS_HOST_NODEVICE</source>
        <translation>No modem</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM</source>
        <translation>Modem ready</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM</source>
        <translation>SIM</translation>
    </message>
    <message>
        <source>IDS_HOST_NOSIM</source>
        <translation>No SIM</translation>
    </message>
    <message>
        <source>IDS_HOST_FLIGHT</source>
        <translation>Flight mode</translation>
    </message>
    <message>
        <source>IDS_HOST_CANSEND</source>
        <translation>Messages can be sent</translation>
    </message>
    <message>
        <source>IDS_HOST_CANNOTSEND</source>
        <translation>Messages cannot be sent</translation>
    </message>
    <message>
        <source>IDS_HOST_UNREAD</source>
        <translation>Unread messages: %1</translation>
    </message>
    <message>
        <source>IDS_HOST_CALL_NODEVICE</source>
        <translation>Cannot call: no modem</translation>
    </message>
    <message>
        <source>IDS_HOST_HANGUP</source>
        <translation>Hang up</translation>
    </message>
    <message>
        <source>IDS_HOST_CALL_TITLE</source>
        <translation>Voice call</translation>
    </message>
    <message>
        <source>IDS_HOST_CALLING</source>
        <translation>Calling %1…</translation>
    </message>
    <message>
        <source>IDS_HOST_ABOUT</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>IDS_HOST_ABOUT_TITLE</source>
        <translation>About Dialcrest</translation>
    </message>
    <message>
        <source>IDS_HOST_ABOUT_TEXT</source>
        <translation>&lt;p&gt;&lt;b&gt;Dialcrest %1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Connection manager for USB mobile-broadband modems, with text messaging.&lt;/p&gt;&lt;p&gt;This build runs on a simulated modem: use the Modem menu to receive messages, take out the SIM card or unplug the modem.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>IDS_HOST_ADD</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>IDS_HOST_ADDRESSBOOK</source>
        <translation>Address book</translation>
    </message>
    <message>
        <source>IDS_HOST_FILL</source>
        <translation>Fill storage</translation>
    </message>
    <message>
        <source>IDS_HOST_FILLED</source>
        <translation>Storage filled</translation>
    </message>
    <message>
        <source>IDS_HOST_FILL_DEVICE</source>
        <translation>Modem memory</translation>
    </message>
    <message>
        <source>IDS_HOST_FILL_PC</source>
        <translation>This computer</translation>
    </message>
    <message>
        <source>IDS_HOST_FILL_SIM</source>
        <translation>SIM card</translation>
    </message>
    <message>
        <source>IDS_HOST_FLIGHTMODE</source>
        <translation>Flight mode</translation>
    </message>
    <message>
        <source>IDS_HOST_GENERAL</source>
        <translation>General</translation>
    </message>
    <message>
        <source>IDS_HOST_LANGUAGE</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>IDS_HOST_MENU_FILE</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>IDS_HOST_MENU_HELP</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>IDS_HOST_MENU_MODEM</source>
        <translation>&amp;Modem</translation>
    </message>
    <message>
        <source>IDS_HOST_MENU_SETTINGS</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>IDS_HOST_MENU_VIEW</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_FAILED</source>
        <translation>%1: the modem refused (%2)</translation>
    </message>
    <message>
        <source>IDS_HOST_NAME</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>IDS_HOST_NETSEND</source>
        <translation>Network accepts messages</translation>
    </message>
    <message>
        <source>IDS_HOST_NUMBER</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>IDS_HOST_PAGE_CONNECTION</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>IDS_HOST_PAGE_SMS</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>IDS_HOST_PICK</source>
        <translation>Choose recipients</translation>
    </message>
    <message>
        <source>IDS_HOST_PLUGGED</source>
        <translation>Modem plugged in</translation>
    </message>
    <message>
        <source>IDS_HOST_PLUGIN_MISSING</source>
        <translation>Messages are not available.</translation>
    </message>
    <message>
        <source>IDS_HOST_QUIT</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVE</source>
        <translation>Receive a message</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVED</source>
        <translation>Message received</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVED_CB</source>
        <translation>Cell broadcast received</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVED_FLASH</source>
        <translation>Flash message received</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVED_REPORT</source>
        <translation>Delivery report received</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVE_CB</source>
        <translation>Receive a cell broadcast</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVE_CUSTOM</source>
        <translation>Receive a message from…</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVE_FLASH</source>
        <translation>Receive a flash message</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVE_REPORT</source>
        <translation>Receive a delivery report</translation>
    </message>
    <message>
        <source>IDS_HOST_REMOVE</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>IDS_HOST_RESTORE</source>
        <translation>Restore storage capacities</translation>
    </message>
    <message>
        <source>IDS_HOST_RESTORED</source>
        <translation>Storage capacities restored</translation>
    </message>
    <message>
        <source>IDS_HOST_SAVECONTACT</source>
        <translation>Save contact</translation>
    </message>
    <message>
        <source>IDS_HOST_SENDER</source>
        <translation>From</translation>
    </message>
    <message>
        <source>IDS_HOST_SETTINGS</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>IDS_HOST_SETTINGS_OPEN</source>
        <translation>&amp;Settings…</translation>
    </message>
    <message>
        <source>IDS_HOST_SIMIN</source>
        <translation>SIM card inserted</translation>
    </message>
    <message>
        <source>IDS_HOST_STORAGE</source>
        <translation>Storage</translation>
    </message>
    <message>
        <source>IDS_HOST_STORAGE_DEFAULT</source>
        <translation>Receive storage</translation>
    </message>
    <message>
        <source>IDS_HOST_TEXT</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_UNLOCK_TITLE</source>
        <translation>Unlock the SIM card</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_UNLOCK</source>
        <translation>Unlock the SIM card…</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_ASK_PIN</source>
        <translation>The SIM card asks for its PIN (4 to 8 digits).</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_ASK_PUK</source>
        <translation>The SIM card is locked. Enter its PUK (8 digits, from the card's holder or the operator) and choose a new PIN.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_BLOCKED</source>
        <translation>The SIM card is blocked: no PUK attempts are left. Only the network operator can help now.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_ATTEMPTS</source>
        <translation>Attempts left: %1</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_ATTEMPTS_UNKNOWN</source>
        <translation>The SIM does not say how many attempts are left.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_CODE</source>
        <translation>Code:</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_NEW_PIN</source>
        <translation>New PIN:</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_CONFIRM_PIN</source>
        <translation>New PIN again:</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_PUK_FORMAT</source>
        <translation>The PUK has 8 digits.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_PIN_FORMAT</source>
        <translation>A PIN has 4 to 8 digits.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_PIN_MISMATCH</source>
        <translation>The new PIN and its repetition differ.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_WRONG</source>
        <translation>That code is wrong.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_NOT_ALLOWED</source>
        <translation>This system does not let you unlock the SIM card (ask the administrator for the permission to control modems).</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_FAILED</source>
        <translation>The modem did not take the code (error %1).</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_ENABLE</source>
        <translation>Switch the modem on</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_ENABLE_DENIED</source>
        <translation>This system does not let you switch the modem on.</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_ENABLE_FAILED</source>
        <translation>The modem could not be switched on (error %1).</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_CHOICE</source>
        <translation>Modem in &amp;use</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_NONE</source>
        <translation>No modem found</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_CHOICE_BUSY</source>
        <translation>A message is being sent or messages are being moved. Choose the other modem once that is done.</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_CHOICE_GONE</source>
        <translation>That modem is no longer there.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_CHECKING</source>
        <translation>Checking the code with the SIM card…</translation>
    </message>
</context>
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_BTN_BROWSE</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>IDS_BTN_CANCEL</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>IDS_BTN_CLOSE</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>IDS_BTN_PLAY</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>IDS_BTN_SAVE</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>IDS_BTN_SENDTO</source>
        <translation>Send to...</translation>
    </message>
    <message>
        <source>IDS_BTN_STOP</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>IDS_BTN_VIEW</source>
        <translation>View</translation>
    </message>
    <message>
        <source>IDS_CBX_RECEIPT</source>
        <translation>Request a delivery report</translation>
    </message>
    <message>
        <source>IDS_CBX_SOUNDALERT</source>
        <translation>Play a sound when a message arrives</translation>
    </message>
    <message>
        <source>IDS_CBX_VISIONALERT</source>
        <translation>Show a notice when a message arrives</translation>
    </message>
    <message>
        <source>IDS_GBX_ALERT</source>
        <translation>New message alerts</translation>
    </message>
    <message>
        <source>IDS_GBX_SMSSETTING</source>
        <translation>Message centre</translation>
    </message>
    <message>
        <source>IDS_GBX_SMS_SAVE_MODE</source>
        <translation>Save new messages</translation>
    </message>
    <message>
        <source>IDS_RAD_SMS_SAVE_PC</source>
        <translation>On this computer</translation>
    </message>
    <message>
        <source>IDS_RAD_SMS_SAVE_SIM</source>
        <translation>On the %s card</translation>
    </message>
    <message>
        <source>IDS_RAD_NORMAL</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>IDS_RAD_URGENT</source>
        <translation>Urgent</translation>
    </message>
    <message>
        <source>IDS_RAD_EMERGENCY</source>
        <translation>Emergency</translation>
    </message>
    <message>
        <source>IDS_STC_PRIORITY</source>
        <translation>Priority</translation>
    </message>
    <message>
        <source>IDS_STC_SMSCENTERNUMBER</source>
        <translation>Message centre number:</translation>
    </message>
    <message>
        <source>IDS_STC_SOUNDFILE</source>
        <translation>Sound file:</translation>
    </message>
    <message>
        <source>IDS_STC_VALIDTIME</source>
        <translation>Validity period:</translation>
    </message>
    <message>
        <source>IDS_SETTING_NAME</source>
        <translation>Text messages</translation>
    </message>
    <message>
        <source>IDS_VALIDITY_12HOURS</source>
        <translation>12 hours</translation>
    </message>
    <message>
        <source>IDS_VALIDITY_24HOURS</source>
        <translation>24 hours</translation>
    </message>
    <message>
        <source>IDS_VALIDITY_30DAYS</source>
        <translation>30 days</translation>
    </message>
    <message>
        <source>IDS_VALIDITY_63WEEKS</source>
        <translation>63 weeks (maximum)</translation>
    </message>
    <message>
        <source>IDS_STR_AUDIOFILENOTEXIST</source>
        <translation>The sound file does not exist or is not a WAV or MIDI file. Choose another file.</translation>
    </message>
    <message>
        <source>IDS_STR_OPENAUDIOFILEFAILED</source>
        <translation>The sound file cannot be played.</translation>
    </message>
    <message>
        <source>IDS_STR_CENTERNUMBERNULL</source>
        <translation>Enter the message centre number.</translation>
    </message>
    <message>
        <source>IDS_ERROR_CAPTION</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>IDS_PROMPT_CAPTION</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>IDS_STR_PROMPT</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>IDS_EXPORT_SMSSELECT</source>
        <translation>Export Selected...</translation>
    </message>
    <message>
        <source>IDS_EXPORT_SMSALL</source>
        <translation>Export All...</translation>
    </message>
    <message>
        <source>IDS_SMS_BACKUPSUCCESS</source>
        <translation>The messages were exported.</translation>
    </message>
    <message>
        <source>IDS_SMS_BACKUPFAILURE</source>
        <translation>The messages could not be exported. Check that the file can be written.</translation>
    </message>
    <message>
        <source>IDS_LBL_SUCCESS</source>
        <translation>Delivered</translation>
    </message>
    <message>
        <source>IDS_LBL_FAILED</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>IDS_LBL_PENDING</source>
        <translation>Pending</translation>
    </message>
    <message>
        <source>IDS_STC_ALLSUCCESS</source>
        <translation>All messages were sent.</translation>
    </message>
    <message>
        <source>IDS_STC_ALLFAILED</source>
        <translation>No message could be sent.</translation>
    </message>
    <message>
        <source>IDS_STC_SOMEFAILED</source>
        <translation>Some messages could not be sent.</translation>
    </message>
    <message>
        <source>IDS_STC_SENDINGSMS</source>
        <translation>Sending messages...</translation>
    </message>
    <message>
        <source>IDS_STC_DELETINGSMS</source>
        <translation>Deleting messages...</translation>
    </message>
    <message>
        <source>IDS_STC_MOVINGSMS</source>
        <translation>Moving messages...</translation>
    </message>
    <message>
        <source>IDS_STC_COPYINGSMS</source>
        <translation>Copying messages...</translation>
    </message>
    <message>
        <source>IDS_STR_CANCELLING</source>
        <translation>Cancelling...</translation>
    </message>
    <message>
        <source>IDS_STR_ALL_FAILED</source>
        <translation>The operation failed for all messages.</translation>
    </message>
    <message>
        <source>IDS_STR_SOME_FAILED</source>
        <translation>The operation failed for some messages.</translation>
    </message>
    <message>
        <source>IDS_STR_MEMORY_IS_FULL</source>
        <translation>The %s memory is full.</translation>
    </message>
    <message>
        <source>IDS_STC_SIMSMSFULL</source>
        <translation>The %s card's message storage is full. Delete some messages to receive new ones.</translation>
    </message>
    <message>
        <source>IDS_STC_DEVICESMSFULL</source>
        <translation>The device's message storage is full. Delete some messages to receive new ones.</translation>
    </message>
    <message>
        <source>IDS_STC_LOCALSMSFULL</source>
        <translation>The message storage on this computer is full. Delete some messages to receive new ones.</translation>
    </message>
    <message>
        <source>IDS_DualModeCard_STC_FULL</source>
        <translation>The card's message storage is full. New messages cannot be received until you delete some. Open the messages now?</translation>
    </message>
    <message>
        <source>IDS_LST_TEL</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>IDS_LST_NAME</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>IDS_LST_CONTENT</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>IDS_LST_TIME</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>IDS_STR_SMSCOUNT</source>
        <translation>Messages: </translation>
    </message>
    <message>
        <source>IDS_MENU_NEW</source>
        <translation>New Message&#x9;Ctrl+N</translation>
    </message>
    <message>
        <source>IDS_MENU_EDIT</source>
        <translation>Edit&#x9;Ctrl+E</translation>
    </message>
    <message>
        <source>IDS_MENU_SEND</source>
        <translation>Send&#x9;Ctrl+Return</translation>
    </message>
    <message>
        <source>IDS_MENU_REPLY</source>
        <translation>Reply&#x9;Ctrl+R</translation>
    </message>
    <message>
        <source>IDS_MENU_FORWARD</source>
        <translation>Forward&#x9;Ctrl+L</translation>
    </message>
    <message>
        <source>IDS_MENU_CALL</source>
        <translation>Call&#x9;Ctrl+D</translation>
    </message>
    <message>
        <source>IDS_MENU_VIDEO_CALL</source>
        <translation>Video Call</translation>
    </message>
    <message>
        <source>IDS_MENU_SAVENUMBER</source>
        <translation>Save Number to Contacts&#x9;Ctrl+Shift+S</translation>
    </message>
    <message>
        <source>IDS_MENU_DELETE</source>
        <translation>Delete&#x9;Del</translation>
    </message>
    <message>
        <source>IDS_MENU_CLEARALL</source>
        <translation>Delete All&#x9;Ctrl+Shift+Del</translation>
    </message>
    <message>
        <source>IDS_MENU_RECOVER</source>
        <translation>Restore&#x9;Ctrl+Shift+R</translation>
    </message>
    <message>
        <source>IDS_MENU_SEARCH</source>
        <translation>Search&#x9;Ctrl+F</translation>
    </message>
    <message>
        <source>IDS_MENU_MOVE2</source>
        <translation>Move to</translation>
    </message>
    <message>
        <source>IDS_MENU_MOVEAll2</source>
        <translation>Move All to</translation>
    </message>
    <message>
        <source>IDS_MENU_COPY2</source>
        <translation>Copy to</translation>
    </message>
    <message>
        <source>IDS_MENU_COPYAll2</source>
        <translation>Copy All to</translation>
    </message>
    <message>
        <source>IDS_TIP_NEW</source>
        <translation>New message&#x9;Ctrl+N</translation>
    </message>
    <message>
        <source>IDS_TIP_DELETE</source>
        <translation>Delete&#x9;Del</translation>
    </message>
    <message>
        <source>IDS_TIP_SEND</source>
        <translation>Send&#x9;Ctrl+Return</translation>
    </message>
    <message>
        <source>IDS_TIP_REPLY</source>
        <translation>Reply&#x9;Ctrl+R</translation>
    </message>
    <message>
        <source>IDS_TIP_FORWARD</source>
        <translation>Forward&#x9;Ctrl+L</translation>
    </message>
    <message>
        <source>IDS_TIP_CALL</source>
        <translation>Call&#x9;Ctrl+D</translation>
    </message>
    <message>
        <source>IDS_TIP_SEARCH</source>
        <translation>Search&#x9;Ctrl+F</translation>
    </message>
    <message>
        <source>IDS_TREE_LOCAL</source>
        <translation>This Computer</translation>
    </message>
    <message>
        <source>IDS_CARD_SIM</source>
        <translation>SIM</translation>
    </message>
    <message>
        <source>IDS_CARD_UIM</source>
        <translation>UIM</translation>
    </message>
    <message>
        <source>IDS_TREE_SIM</source>
        <translation>%s Card</translation>
    </message>
    <message>
        <source>IDS_TREE_DEVICE</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>IDS_TREE_LINBOX</source>
        <translation>Inbox</translation>
    </message>
    <message>
        <source>IDS_TREE_LOUTBOX</source>
        <translation>Outbox</translation>
    </message>
    <message>
        <source>IDS_TREE_LSENTITEMS</source>
        <translation>Sent Items</translation>
    </message>
    <message>
        <source>IDS_TREE_LDRAFT</source>
        <translation>Drafts</translation>
    </message>
    <message>
        <source>IDS_TREE_LFAVORITE</source>
        <translation>Favorites</translation>
    </message>
    <message>
        <source>IDS_TREE_LTRASH</source>
        <translation>Trash</translation>
    </message>
    <message>
        <source>IDS_TREE_LREPORT</source>
        <translation>Delivery Reports</translation>
    </message>
    <message>
        <source>IDS_TREE_CBSBOX</source>
        <translation>Cell Broadcasts</translation>
    </message>
    <message>
        <source>IDS_TREE_SINBOX</source>
        <translation>Inbox</translation>
    </message>
    <message>
        <source>IDS_TREE_SOUTBOX</source>
        <translation>Outbox</translation>
    </message>
    <message>
        <source>IDS_TREE_DINBOX</source>
        <translation>Inbox</translation>
    </message>
    <message>
        <source>IDS_TREE_DOUTBOX</source>
        <translation>Outbox</translation>
    </message>
    <message>
        <source>IDS_TREE_READING_DATA</source>
        <translation> (reading...)</translation>
    </message>
    <message>
        <source>IDS_TTL_NEW</source>
        <translation>New Message</translation>
    </message>
    <message>
        <source>IDS_TTL_SEND</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>IDS_TTL_REPLY</source>
        <translation>Reply</translation>
    </message>
    <message>
        <source>IDS_TTL_FORWARD</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>IDS_TTL_EDIT</source>
        <translation>Edit Draft</translation>
    </message>
    <message>
        <source>IDS_STC_NEWMSG</source>
        <translation>New message</translation>
    </message>
    <message>
        <source>IDS_STR_SAVECHANGES</source>
        <translation>Save the message as a draft before closing?</translation>
    </message>
    <message>
        <source>IDS_STR_NUMBERINVALID</source>
        <translation>The phone number is not valid. Check the number and try again.</translation>
    </message>
    <message>
        <source>IDS_STR_DELETE</source>
        <translation>Delete the selected messages?</translation>
    </message>
    <message>
        <source>IDS_STR_CLEARALL</source>
        <translation>Delete all messages in this folder?</translation>
    </message>
    <message>
        <source>IDS_STR_MOVE2</source>
        <translation>Move the selected messages to %s?</translation>
    </message>
    <message>
        <source>IDS_STR_MOVEALL2</source>
        <translation>Move all messages in this folder to %s?</translation>
    </message>
    <message>
        <source>IDS_STR_COPY2</source>
        <translation>Copy the selected messages to %s?</translation>
    </message>
    <message>
        <source>IDS_STR_COPYALL2</source>
        <translation>Copy all messages in this folder to %s?</translation>
    </message>
    <message>
        <source>IDS_STR_CALLNUMBERISNULL</source>
        <translation>This message has no number to call.</translation>
    </message>
    <message>
        <source>IDS_STR_CALLNUMBERONLYONE</source>
        <translation>Only one number can be called at a time.</translation>
    </message>
    <message>
        <source>IDS_STR_MAKECALLFAILED</source>
        <translation>The call could not be started.</translation>
    </message>
    <message>
        <source>IDS_STR_SAVENUMBERISNULL</source>
        <translation>This message has no number to save.</translation>
    </message>
    <message>
        <source>IDS_STR_SAVENUMBERONLYONE</source>
        <translation>Only one number can be saved at a time.</translation>
    </message>
</context>
</TS>
