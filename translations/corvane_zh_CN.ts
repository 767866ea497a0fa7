<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>Corvane</name>
    <message>
        <source>Please select online data type !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0x10000000 &gt; ADDR &gt;= 0x100000, please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0x20000000 &gt; ADDR, please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0xE0000000 &gt; ADDR &gt;= 0x62000000, please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0xE0000000 &gt; ADDR &gt;= 0x64000000, please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>transfer reaches 0x%08x: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s is held by another writer, not written !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s cannot be read, not written !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s is not UTF-8 text, not written !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s: its folder takes no new file, not written !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s write error, not written !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s cannot hold [%s] %s with this text, not written !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please copy libjlinkarm.so file from the path of the JLink(SEGGER) software to the path of this tool!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>jlink_EMU_SelectByUSBSN error
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>jlink_IsOpen error
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>jlink_EMU_IsConnected error
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>jlink_Connect error
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>link_Connect error
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>jlink_ReadMemEx 0x%08x 0x%x error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>jlink_WriteMemEx 0x%08x 0x%x error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>jlink_ReadMemEx 0x%08x 4 error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>jlink_WriteMemEx 0x%08x 4 error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s not support uart debug !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s not support uart debug !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>uart open error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EnterDebugMode error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ReadMem 0x%08x 0x%x error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WriteMem 0x%08x 0x%x error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ReadMem 0x%08x 4 error !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WriteMem 0x%08x 4 error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gdb connect %s error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gdb_ReadMem 0x%08x 0x%x error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gdb_WriteMem 0x%08x 0x%x error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gdb_ReadMem 0x%08x 4 error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gdb_WriteMem 0x%08x 4 error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gdb read of core register %s error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gdb write of core register %s error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>core register %s: S_REGRDY not set within %d ms !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not host:port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no reply within %d ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>closed by the server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server kept sending without the reply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a garbled reply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server took no resend of the packet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server answered &quot;%s&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a terminal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the port hung up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选择/输入 保存的文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选择 写入芯片的文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Binary Files(*.bin)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files(*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ADDR shold 4 Bytes align, please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no file select, please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LENGTH == 0, please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no data to write, please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>input file too large for ADDR, please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LENGTH over 8*1024*1024 Bytes, use 8*1024*1024!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>output file create fail !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>output file write fail !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>input file open fail !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>input file read fail !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s: not a regular file or a character device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s: not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s: took no bytes for %d ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>transfer stopped after 0x%x of 0x%x Bytes !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the core is running: halt it first (&quot;halt HCPU&quot; in the panel, corvane-cli halt-hcpu), or ask for halt, read, keep halted (--halt) !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no core register %s, please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>core register %s is not written here (R0-R12, SP, PC, xPSR), please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s is not a 32-bit hexadecimal value, please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>core register %s is not given by the server !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>core register %s written 0x%08X, read back 0x%08X !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not given by the server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no symbol</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stack overflow of the process stack (STKOF)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stack overflow of the main stack (STKOF)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stack overflow (STKOF)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the chip&apos;s own auxiliary fault bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not read: %s 0x%08X is outside readable memory (%s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the frame would pass the end of the address space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not read: LR holds no EXC_RETURN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not read: the core is in Thread mode, no exception is being handled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not read: %s not given by the server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not an ELF file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not read: %s 0x%08X could not be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s open error! 
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s create error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s open error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s open error !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s GetRegInfo error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s GetRegInfo error !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s size 0x%x &gt; file len 0x%x, fill zero !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s size 0x%x &lt; file len 0x%x, remove following data !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s span 0x%x does not fit the 0x%x-byte transfer buffer, refused !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>out of range !
%s does not fit %s (%u bits)
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a number !
%s is no %s value for %s
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a number !
%s is no %s value for %s, nor one of its names: %s
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not read !
%s: reading %s changes the chip, so its other bits are not known; read it first or type its whole value
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not read !
%s: %s cannot be read (%s), so its other bits are not known; type its whole value
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not written !
%s: another action runs; write it again once it has ended
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>寄存器数值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
(read clears: left out of whole-peripheral reads)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] peripherals not find !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;name not find !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;baseAddress not find!
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;name  not find!
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;addressOffset  not find!
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;name not find!
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;bitOffset not find!
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;bitWidth not find!
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] %1 derivedFrom %2 not find!
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] %1 dim %2 over %3!
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] %1 %2 %3 not a number!
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] %1 expands to more than %2 elements!
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] %1 clusters nested deeper than %2!
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] %1 address past 0xFFFFFFFF !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[svd] %1 span past 0xFFFFFFFF !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no address %1, please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no length %1, please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no data to find, please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 [SVD unreadable: not read]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>memory window closed while the link was busy, not written:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x %1 管道创建失败
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 进程创建失败
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>管道接收异常
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无有效数据 !!!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>此程序正在运行，同一路径只能打开一次。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No saved data to compare !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 create error !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is read-only !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: not a GDB server, type host:port (port 1 to 65535) !
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>usage: corvane-cli [--home DIR] [--chip NAME] [--language en|zh] COMMAND [ARGS...]

commands:
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>usage: corvane-cli %1 %2
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>corvane-cli: %1
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no command given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown language %1 (en or zh)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no peripheral %1 in %2
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 holds 0x%3 bytes of the span 0x%4; registers beyond its end are not compared
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no register %1 in %2
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be read as an ELF file: %2
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>print the HCPU&apos;s core registers; a running core is refused unless --halt (halt it and keep it halted)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write R0-R12, SP, PC or xPSR of the halted HCPU (VALUE hexadecimal) and read it back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>print the fault report: fault registers in words, the exception, the stacked frame; --elf adds functions and lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>list the IP blocks of the chip&apos;s analyzer files: &quot;+ NAME&quot; for a known block, &quot;- NAME&quot; otherwise</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>run the analyzer for each IP block and print every output row on its own line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read these peripherals every interval and print each register that changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>print the registers and fields of NAME that differ between two snapshot files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>print memory as a memory window shows it: rows of 16 bytes, ASCII, register names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>print the register window rows of these peripherals</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read these peripherals into their snapshot files and print their rows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>set a register&apos;s value and write it to the chip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read up to 1024 bytes and print them as a hex dump</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read up to 8 MiB into FILE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write one 32-bit word</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write the whole of FILE from ADDR on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop the chip model&apos;s watchdogs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>halt the high-performance CPU</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>halt the low-power CPU</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>clean the level-1 data cache by set and way</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>let the halted cores run; until then every command leaves them halted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>check that FILE is well-formed XML: prints sound or not sound, then the error text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>list the peripheral names of the SVD file FILE, one per line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>print peripheral NAME of the SVD file FILE with its registers and fields</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
