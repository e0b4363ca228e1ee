const MaxInt = 2147483647;
var s: string;
begin
  s := 'abcdef';
  Print('[2,3] '); PrintLn(Copy(s, 2, 3));
  Print('[1,6] '); PrintLn(Copy(s, 1, 6));
  Print('[5,10] '); PrintLn(Copy(s, 5, 10));
  Print('[6,1] '); PrintLn(Copy(s, 6, 1));
  Print('[7,1] '); PrintLn('<' + Copy(s, 7, 1) + '>');
  Print('[3,0] '); PrintLn('<' + Copy(s, 3, 0) + '>');
  Print('[3,-1] '); PrintLn('<' + Copy(s, 3, -1) + '>');
  Print('[1,MaxInt] '); PrintLn(Copy(s, 1, MaxInt));
  Print('empty '); PrintLn('<' + Copy('', 1, 5) + '>');
  Print('nested '); PrintLn(Copy(Copy(s, 2, 4), 2, 2));
end.
