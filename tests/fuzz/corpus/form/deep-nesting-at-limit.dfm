object F: TForm
  object P0: TPanel
    object P1: TPanel
      object P2: TPanel
        object P3: TPanel
          object P4: TPanel
            object P5: TPanel
              object P6: TPanel
                object P7: TPanel
                object P8: TPanel
                object P9: TPanel
                object P10: TPanel
                object P11: TPanel
                object P12: TPanel
                object P13: TPanel
                object P14: TPanel
                object P15: TPanel
                object P16: TPanel
                object P17: TPanel
                object P18: TPanel
                object P19: TPanel
                object P20: TPanel
                object P21: TPanel
                object P22: TPanel
                object P23: TPanel
                object P24: TPanel
                object P25: TPanel
                object P26: TPanel
                object P27: TPanel
                object P28: TPanel
                object P29: TPanel
                object P30: TPanel
                object P31: TPanel
                object P32: TPanel
                object P33: TPanel
                object P34: TPanel
                object P35: TPanel
                object P36: TPanel
                object P37: TPanel
                object P38: TPanel
                object P39: TPanel
                object P40: TPanel
                object P41: TPanel
                object P42: TPanel
                object P43: TPanel
                object P44: TPanel
                object P45: TPanel
                object P46: TPanel
                object P47: TPanel
                object P48: TPanel
                object P49: TPanel
                object P50: TPanel
                object P51: TPanel
                object P52: TPanel
                object P53: TPanel
                object P54: TPanel
                object P55: TPanel
                object P56: TPanel
                object P57: TPanel
                object P58: TPanel
                object P59: TPanel
                object P60: TPanel
                object P61: TPanel
                object P62: TPanel
                object P63: TPanel
                object P64: TPanel
                object P65: TPanel
                object P66: TPanel
                object P67: TPanel
                object P68: TPanel
                object P69: TPanel
                object P70: TPanel
                object P71: TPanel
                object P72: TPanel
                object P73: TPanel
                object P74: TPanel
                object P75: TPanel
                object P76: TPanel
                object P77: TPanel
                object P78: TPanel
                object P79: TPanel
                object P80: TPanel
                object P81: TPanel
                object P82: TPanel
                object P83: TPanel
                object P84: TPanel
                object P85: TPanel
                object P86: TPanel
                object P87: TPanel
                object P88: TPanel
                object P89: TPanel
                object P90: TPanel
                object P91: TPanel
                object P92: TPanel
                object P93: TPanel
                object P94: TPanel
                object P95: TPanel
                object P96: TPanel
                object P97: TPanel
                object P98: TPanel
                object P99: TPanel
                object P100: TPanel
                object P101: TPanel
                object P102: TPanel
                object P103: TPanel
                object P104: TPanel
                object P105: TPanel
                object P106: TPanel
                object P107: TPanel
                object P108: TPanel
                object P109: TPanel
                object P110: TPanel
                object P111: TPanel
                object P112: TPanel
                object P113: TPanel
                object P114: TPanel
                object P115: TPanel
                object P116: TPanel
                object P117: TPanel
                object P118: TPanel
                object P119: TPanel
                object P120: TPanel
                object P121: TPanel
                object P122: TPanel
                object P123: TPanel
                object P124: TPanel
                object P125: TPanel
                object P126: TPanel
                object P127: TPanel
                object P128: TPanel
                object P129: TPanel
                object P130: TPanel
                object P131: TPanel
                object P132: TPanel
                object P133: TPanel
                object P134: TPanel
                object P135: TPanel
                object P136: TPanel
                object P137: TPanel
                object P138: TPanel
                object P139: TPanel
                object P140: TPanel
                object P141: TPanel
                object P142: TPanel
                object P143: TPanel
                object P144: TPanel
                object P145: TPanel
                object P146: TPanel
                object P147: TPanel
                object P148: TPanel
                object P149: TPanel
                object P150: TPanel
                object P151: TPanel
                object P152: TPanel
                object P153: TPanel
                object P154: TPanel
                object P155: TPanel
                object P156: TPanel
                object P157: TPanel
                object P158: TPanel
                object P159: TPanel
                object P160: TPanel
                object P161: TPanel
                object P162: TPanel
                object P163: TPanel
                object P164: TPanel
                object P165: TPanel
                object P166: TPanel
                object P167: TPanel
                object P168: TPanel
                object P169: TPanel
                object P170: TPanel
                object P171: TPanel
                object P172: TPanel
                object P173: TPanel
                object P174: TPanel
                object P175: TPanel
                object P176: TPanel
                object P177: TPanel
                object P178: TPanel
                object P179: TPanel
                object P180: TPanel
                object P181: TPanel
                object P182: TPanel
                object P183: TPanel
                object P184: TPanel
                object P185: TPanel
                object P186: TPanel
                object P187: TPanel
                object P188: TPanel
                object P189: TPanel
                object P190: TPanel
                object P191: TPanel
                object P192: TPanel
                object P193: TPanel
                object P194: TPanel
                object P195: TPanel
                object P196: TPanel
                object P197: TPanel
                object P198: TPanel
                object P199: TPanel
                object P200: TPanel
                object P201: TPanel
                object P202: TPanel
                object P203: TPanel
                object P204: TPanel
                object P205: TPanel
                object P206: TPanel
                object P207: TPanel
                object P208: TPanel
                object P209: TPanel
                object P210: TPanel
                object P211: TPanel
                object P212: TPanel
                object P213: TPanel
                object P214: TPanel
                object P215: TPanel
                object P216: TPanel
                object P217: TPanel
                object P218: TPanel
                object P219: TPanel
                object P220: TPanel
                object P221: TPanel
                object P222: TPanel
                object P223: TPanel
                object P224: TPanel
                object P225: TPanel
                object P226: TPanel
                object P227: TPanel
                object P228: TPanel
                object P229: TPanel
                object P230: TPanel
                object P231: TPanel
                object P232: TPanel
                object P233: TPanel
                object P234: TPanel
                object P235: TPanel
                object P236: TPanel
                object P237: TPanel
                object P238: TPanel
                object P239: TPanel
                object P240: TPanel
                object P241: TPanel
                object P242: TPanel
                object P243: TPanel
                object P244: TPanel
                object P245: TPanel
                object P246: TPanel
                object P247: TPanel
                object P248: TPanel
                object P249: TPanel
                object P250: TPanel
                object P251: TPanel
                object P252: TPanel
                object P253: TPanel
                object P254: TPanel
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
end
